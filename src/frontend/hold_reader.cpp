#include "frontend/hold_reader.h"

#include <algorithm>
#include <cmath>

#include "frontend/interpolator.h"
#include "frontend/sent_levels.h"

namespace tonobild {

namespace {

// How far the timing loop moves the sampling instant per transmitted sample,
// as a share of the hold, for an error the size of the signal's power.
constexpr double kLoopGain = 0.02;
// The signal's power is followed over this many transmitted samples.
constexpr double kLoopPowerSpan = 256.0;
// The change between the two samples of a white cycle (224 and 31), in levels.
constexpr double kFullSwing = 193.0;
// Keeps the loop still where there is no signal to follow (squared levels).
constexpr double kLoopPowerFloor = 100.0;
// The reference cycles are measured over stretches of this many samples, each at its own phase.
constexpr std::size_t kStretch = 4096;

// Reads the recording at the instants of a rate that is a whole multiple of
// the transmission's (44100 for 11025): there each held sample is a run of
// equal samples, and a sound card's band-limited recording passes through the
// very values that were held. At those instants a recording made at such a rate
// is read as it is; one made at another rate (48000) is interpolated.
class HoldReader {
public:
    // Off the grid a hold is read narrow (the two instants either side of its
    // centre) or wide (four, the outer two at half weight): wide averages out
    // more of a lossy codec's noise; narrow stays clear of the edges that a
    // straight-line resampler leaves soft.
    enum class Width { Narrow, Wide };

    HoldReader(std::span<const float> centred, double hold, Width width)
        : centred_(centred), grid_(hold / std::round(hold)), onGrid_(std::abs(grid_ - 1.0) < kGridTolerance), width_(width),
          instants_(instantsFor(static_cast<int>(std::round(hold)), onGrid_, width))
    {
    }

    bool onGrid() const noexcept { return onGrid_; }

    // The held value around t, a mean that also averages out noise. On the
    // grid: the samples of the hold centred on t but one, which leaves room for
    // a hold one sample shorter or longer than the rest (a clock off). Off it:
    // instants of the grid either side of t, where the interpolation gives back
    // the held value.
    double heldValue(double t) const
    {
        double sum = 0;
        double weights = 0;
        const double first = t - grid_ * (instants_ - 1) / 2.0;
        for (int j = 0; j < instants_; ++j) {
            const double weight = width_ == Width::Narrow || (j > 0 && j + 1 < instants_) ? 1.0 : 0.5;
            sum += weight * valueAt(first + j * grid_);
            weights += weight;
        }
        return sum / weights;
    }

private:
    // On the grid narrow is every sample of the hold but one, wide all of them;
    // off it two and four instants.
    static int instantsFor(int perHold, bool onGrid, Width width)
    {
        if (onGrid)
            return std::max(2, width == Width::Wide ? perHold : perHold - 1);
        return width == Width::Wide ? 4 : 2;
    }

    // A clock up to 1 % off still reads a whole-multiple recording sample by sample.
    static constexpr double kGridTolerance = 0.01;

    double valueAt(double u) const
    {
        if (!onGrid_) {
            static const Interpolator interpolator;
            return interpolator.valueAt(centred_, u);
        }
        const double nearest = std::clamp(std::nearbyint(u), 0.0, static_cast<double>(centred_.size() - 1));
        return centred_[static_cast<std::size_t>(nearest)];
    }

    std::span<const float> centred_;
    double grid_;
    bool onGrid_;
    Width width_ = Width::Narrow;
    int instants_; // grid instants read per hold
};

// Samples the centre of every hold, following the holds with a timing loop.
// Between two held samples of opposite sign the recording passes through their
// mean exactly halfway when the timing is right; sampled late, the halfway
// value has moved towards the later sample. So (later - earlier) times the
// halfway value, less its share that the held values themselves give (which
// sums to nothing over a line), says how late the instant is. The loop takes
// it in small steps against the power of the signal, so noise averages out.
std::vector<std::uint8_t> sampleHoldCentres(const HoldReader& reader, std::span<const float> centred, double hold,
                                            double start)
{
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(static_cast<double>(centred.size()) / hold) + 1);
    const double last = static_cast<double>(centred.size()) - 1.0;
    double previous = 0;
    double power = kFullSwing * kFullSwing; // a change from white to its opposite
    for (double t = start; t <= last; t += hold) {
        const double value = reader.heldValue(t);
        out.push_back(sentLevel(value));
        if (t == start) {
            previous = value;
            continue;
        }
        const double change = value - previous;
        const double halfway = linearValueAt(centred, t - hold / 2.0);
        power += (change * change - power) / kLoopPowerSpan;
        t -= kLoopGain * hold * change * halfway / (power + kLoopPowerFloor);
        previous = value;
    }
    return out;
}

// The squared distances of the reference cycles from 224 and 31 over a stretch, starting at `first`.
double referenceSquares(std::span<const std::uint8_t> stretch, std::size_t first)
{
    double sum = 0;
    for (std::size_t at = first; at + 1 < stretch.size(); at += static_cast<std::size_t>(kSamplesPerGroup)) {
        const double high = stretch[at] - static_cast<double>(kReferenceHigh);
        const double low = stretch[at + 1] - static_cast<double>(kReferenceLow);
        sum += high * high + low * low;
    }
    return sum;
}

// How steady the reference cycles came out: the share of samples within a
// level of 224 or 31, which half of all samples are sent as.
double referenceSteadiness(const std::vector<std::uint8_t>& samples)
{
    const auto steady = std::count_if(samples.begin(), samples.end(), [](std::uint8_t s) {
        return std::abs(s - kReferenceHigh) <= 1 || std::abs(s - kReferenceLow) <= 1;
    });
    return samples.empty() ? 0.0 : static_cast<double>(steady) / static_cast<double>(samples.size());
}

} // namespace

// Both widths are read, and the one with the steadier reference cycles is kept.
std::vector<std::uint8_t> readHolds(std::span<const float> centred, double hold, double firstCentre)
{
    const HoldReader narrow(centred, hold, HoldReader::Width::Narrow);
    std::vector<std::uint8_t> out = sampleHoldCentres(narrow, centred, hold, firstCentre);
    std::vector<std::uint8_t> wide =
        sampleHoldCentres(HoldReader(centred, hold, HoldReader::Width::Wide), centred, hold, firstCentre);
    return referenceSteadiness(wide) > referenceSteadiness(out) ? wide : out;
}


double referenceError(std::span<const std::uint8_t> samples)
{
    double squares = 0;
    std::size_t count = 0;
    for (std::size_t from = 0; from + kStretch <= samples.size(); from += kStretch) {
        double best = referenceSquares(samples.subspan(from, kStretch), 0);
        for (std::size_t phase = 1; phase < static_cast<std::size_t>(kSamplesPerGroup); ++phase)
            best = std::min(best, referenceSquares(samples.subspan(from, kStretch), phase));
        squares += best;
        count += kStretch / 2;
    }
    return count == 0 ? 0.0 : std::sqrt(squares / static_cast<double>(count));
}

} // namespace tonobild
