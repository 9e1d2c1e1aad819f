#include "frontend/tone_rebuild.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <initializer_list>

namespace tonobild {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kReference = 96.5; // the reference cycle's level, centred (224 - 127.5)
constexpr double kSyncSwing = -80.0; // a - b of a sync group: 16.5 - 96.5
// The share of groups at the bottom of the tone's swing taken as syncs: a line
// of 640 groups has 7 of them, 1.1 %.
constexpr double kSyncShare = 0.01;
// Groups over which the tone's phase is followed (about 4 s at 11025).
constexpr std::size_t kPhaseBlock = 2048;
// The leftovers of the filtered octave add a few crossings of their own.
constexpr double kRateTolerance = 0.08;

using Complex = std::complex<double>;

// Running sums of the recording times the tone's carrier, so that the mean
// over any window of the recording is two lookups.
class Baseband {
public:
    Baseband(std::span<const float> centred, double groupLength)
        : omega_(2.0 * kPi / groupLength), window_(static_cast<std::size_t>(std::lround(groupLength))),
          sums_(centred.size() + 1)
    {
        for (std::size_t k = 0; k < centred.size(); ++k)
            sums_[k + 1] = sums_[k] + static_cast<double>(centred[k]) * std::polar(1.0, -omega_ * static_cast<double>(k));
    }

    std::size_t size() const noexcept { return sums_.size() - 1; }
    std::size_t window() const noexcept { return window_; }
    double omega() const noexcept { return omega_; }

    // The mean over a group-long window centred on `centre`: between two
    // placements of the window by how far the centre lies between them, so
    // that a centre known only roughly never jumps a whole sample. The windows
    // must fit into the recording.
    Complex around(double centre) const
    {
        const double start = centre - static_cast<double>(window_ - 1) / 2.0;
        const double first = std::floor(start);
        const double share = start - first;
        const auto begin = static_cast<std::size_t>(first);
        return (1.0 - share) * windowFrom(begin) + share * windowFrom(begin + 1);
    }

private:
    Complex windowFrom(std::size_t begin) const
    {
        return (sums_[begin + window_] - sums_[begin]) / static_cast<double>(window_);
    }

    double omega_;
    std::size_t window_;
    std::vector<Complex> sums_;
};

// The carrier's phase (twice over, so that the sign of a - b does not count)
// from samples spread over [from, to).
double doubledPhase(const Baseband& baseband, std::size_t from, std::size_t to, std::size_t step)
{
    Complex sum;
    for (std::size_t k = from; k < to; k += step) {
        const Complex z = baseband.around(static_cast<double>(k));
        sum += z * z;
    }
    return std::arg(sum);
}

// Of the two phases that double to `doubled`, the one nearest `near`.
double nearestBranch(double doubled, double near)
{
    double phase = doubled / 2.0;
    while (phase - near > kPi / 2)
        phase -= kPi;
    while (near - phase > kPi / 2)
        phase += kPi;
    return phase;
}

struct GroupTone {
    double swing; // the tone's amplitude at the group, signed as a - b
};

// The tone at the centre of every group. The phase is followed block by block;
// its sign is set once, so that a - b, never above 0, comes out below 0 on the whole.
std::vector<GroupTone> demodulate(const Baseband& baseband, double groupLength)
{
    const std::size_t margin = baseband.window();
    if (baseband.size() < 4 * margin)
        return {};
    const std::size_t first = margin;
    const std::size_t last = baseband.size() - margin;
    const auto quarter = std::max<std::size_t>(1, baseband.window() / 4);
    double phase = doubledPhase(baseband, first, last, quarter) / 2.0;

    std::vector<GroupTone> groups;
    const auto blockSamples = static_cast<std::size_t>(static_cast<double>(kPhaseBlock) * groupLength);
    for (std::size_t blockStart = first; blockStart < last; blockStart += blockSamples) {
        const std::size_t blockEnd = std::min(last, blockStart + blockSamples);
        phase = nearestBranch(doubledPhase(baseband, blockStart, blockEnd, quarter), phase);
        // Group centres: where the carrier's phase plus the tone's is a half turn.
        double centre = (kPi - phase) / baseband.omega();
        centre += std::ceil((static_cast<double>(blockStart) - centre) / groupLength) * groupLength;
        for (; centre < static_cast<double>(blockEnd); centre += groupLength) {
            const Complex z = baseband.around(centre);
            groups.push_back({std::real(z * std::polar(1.0, -phase))});
        }
    }
    double total = 0;
    for (const GroupTone& g : groups)
        total += g.swing;
    if (total > 0)
        for (GroupTone& g : groups)
            g.swing = -g.swing;
    return groups;
}

// The tone's swing at the syncs, the lowest of all. The lowest share of the
// groups finds the syncs' cluster; its middle is taken from every group within
// a tenth of it (black, the next level up, lies a fifth higher).
double syncSwing(std::vector<double> swings)
{
    const auto lowest = static_cast<std::ptrdiff_t>(static_cast<double>(swings.size()) * kSyncShare);
    std::nth_element(swings.begin(), swings.begin() + lowest, swings.end());
    const double bottom = swings[static_cast<std::size_t>(lowest)];
    const auto end = std::partition(swings.begin(), swings.end(), [bottom](double s) { return s <= 0.9 * bottom; });
    if (end == swings.begin())
        return bottom;
    const auto middle = swings.begin() + (end - swings.begin()) / 2;
    std::nth_element(swings.begin(), middle, end);
    return *middle;
}

std::uint8_t level(double centred)
{
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(centred + 127.5), 0.0, 255.0));
}

} // namespace

double toneOnlyHold(double samplesPerCrossing, std::uint32_t fileRate)
{
    if (fileRate == 0 || samplesPerCrossing == 0)
        return 0;
    for (const double rate : {11025.0, 8000.0}) {
        const double hold = fileRate / rate;
        if (hold >= 1.5 && std::abs(samplesPerCrossing / (2.0 * hold) - 1.0) < kRateTolerance)
            return hold;
    }
    return 0;
}

std::vector<std::uint8_t> rebuildFromTone(std::span<const float> centred, double hold)
{
    const double groupLength = 4.0 * hold;
    const Baseband baseband(centred, groupLength);
    const std::vector<GroupTone> groups = demodulate(baseband, groupLength);
    if (groups.empty())
        return {};
    std::vector<double> swings(groups.size());
    std::transform(groups.begin(), groups.end(), swings.begin(), [](const GroupTone& g) { return g.swing; });
    const double sync = syncSwing(swings);
    if (sync >= -1.0)
        return {}; // no tone to speak of

    std::vector<std::uint8_t> out;
    out.reserve(4 * groups.size());
    for (const GroupTone& g : groups) {
        const double value = kReference + kSyncSwing * g.swing / sync;
        out.insert(out.end(), {level(value), level(-value), level(kReference), level(-kReference)});
    }
    return out;
}

} // namespace tonobild
