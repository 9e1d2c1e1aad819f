#include "standard/vis_reader.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tonobild::standard {

namespace {

constexpr int kSpectrumSize = 256;
constexpr double kLowestLeaderHz = kLeaderHz - 300;
constexpr double kHighestLeaderHz = kLeaderHz + 300;
constexpr double kLeaderShare = 0.35;  // of the band's power in the peak's three bins
constexpr double kSameToneHz = 45;     // frames of one leader agree this well
constexpr double kShortestLeaderMs = 240;
constexpr int kLongestGap = 2;         // frames: the break between the two leaders
constexpr double kSearchMs = 45;       // the start bit is looked for this far around the leader's end
constexpr double kBitMarginMs = 3.5;   // trimmed off each end of a bit against clock errors
constexpr double kClearBit = 2.5;      // the stronger of a bit's tones at least this much stronger
constexpr double kBandHz = 2400;       // the band the spectra are read in, around the centre

} // namespace

double VisHeader::pictureStart() const noexcept
{
    return startBit + 10 * kVisBitMs * trackRate / 1000;
}

VisReader::VisReader(double trackRate) : rate_(trackRate), spectrum_(trackRate, kSpectrumSize) {}

std::uint64_t VisReader::oldestNeeded() const noexcept
{
    const std::uint64_t from = ended_ ? ended_->first : (leader_.frames ? leader_.first : nextFrame_);
    const auto size = static_cast<std::uint64_t>(spectrum_.size());
    return from > size ? from - size : 0;
}

std::optional<VisHeader> VisReader::read(const TrackBuffer& track, std::uint64_t upTo)
{
    const std::uint64_t hop = kSpectrumSize / 2;
    nextFrame_ = std::max(nextFrame_, track.origin());
    while (nextFrame_ + kSpectrumSize <= std::min(upTo, track.end())) {
        const auto& power = spectrum_.of(track.from(nextFrame_), 0);
        takeFrame(leaderTone(power), nextFrame_);
        nextFrame_ += hop;
        if (ended_ && bitsIn(nextFrame_)) {
            auto header = decode(track);
            ended_.reset();
            if (header)
                return header;
        }
    }
    return std::nullopt;
}

// The tone of a frame that looks like leader: the strongest bin between 1600
// and 2200 Hz holding most of the band's power.
std::optional<double> VisReader::leaderTone(const std::vector<float>& power) const
{
    const int low = static_cast<int>(std::ceil(spectrum_.binOf(kLowestLeaderHz)));
    const int high = static_cast<int>(std::floor(spectrum_.binOf(kHighestLeaderHz)));
    const int bandLow = static_cast<int>(spectrum_.binOf(kCentreHz - kBandHz));
    const int bandHigh = static_cast<int>(spectrum_.binOf(kCentreHz + kBandHz));
    const auto at = [&](int bin) { return static_cast<double>(power[static_cast<std::size_t>(bin)]); };
    int peak = low;
    for (int bin = low; bin <= high; ++bin)
        if (at(bin) > at(peak))
            peak = bin;
    double band = 0;
    for (int bin = bandLow; bin <= bandHigh; ++bin)
        band += at(bin);
    const double left = at(peak - 1), centre = at(peak), right = at(peak + 1);
    if (band <= 0 || (left + centre + right) < kLeaderShare * band)
        return std::nullopt;
    const double curve = left - 2 * centre + right;
    const double shift = curve < 0 ? 0.5 * (left - right) / curve : 0;
    return spectrum_.frequencyOf(peak + shift);
}

void VisReader::takeFrame(std::optional<double> tone, std::uint64_t first)
{
    if (tone && (leader_.frames == 0 || std::abs(*tone - leader_.hz) <= kSameToneHz)) {
        if (leader_.frames == 0)
            leader_.first = first;
        leader_.hz = (leader_.hz * leader_.frames + *tone) / (leader_.frames + 1);
        leader_.last = first;
        ++leader_.frames;
        leader_.missed = 0;
        return;
    }
    if (leader_.frames > 0 && ++leader_.missed <= kLongestGap)
        return;
    const double lasted = static_cast<double>(leader_.last + kSpectrumSize - leader_.first) * 1000 / rate_;
    if (leader_.frames > 0 && lasted >= kShortestLeaderMs)
        ended_ = leader_;
    leader_ = {};
    if (tone)
        takeFrame(tone, first);
}

namespace {

struct BitEnergies {
    std::array<double, 10> sync{}; // 1200 Hz in the start bit (0) and stop bit (9)
    std::array<double, 10> one{};
    std::array<double, 10> zero{};
    std::array<double, 10> leader{};
};

// The energies of the header's tones in each of its ten 30 ms bits from `start`.
BitEnergies bitEnergies(const TrackView& track, double start, double offsetHz)
{
    BitEnergies e;
    const double bit = track.samplesOf(kVisBitMs), margin = track.samplesOf(kBitMarginMs);
    for (std::size_t i = 0; i < 10; ++i) {
        const double first = start + static_cast<double>(i) * bit + margin, count = bit - 2 * margin;
        e.sync[i] = tonePower(track, first, count, kSyncHz + offsetHz);
        e.one[i] = tonePower(track, first, count, kVisOneHz + offsetHz);
        e.zero[i] = tonePower(track, first, count, kVisZeroHz + offsetHz);
        e.leader[i] = tonePower(track, first, count, kLeaderHz + offsetHz);
    }
    return e;
}

// How well the header fits with its start bit at `start`: the energy of the
// tone each bit should hold.
double fit(const BitEnergies& e)
{
    double sum = e.sync[0] + e.sync[9];
    for (std::size_t i = 1; i < 9; ++i)
        sum += std::max(e.one[i], e.zero[i]);
    return sum;
}

std::optional<int> codeOf(const BitEnergies& e)
{
    for (std::size_t i : {0u, 9u})
        if (e.sync[i] < kClearBit * std::max({e.one[i], e.zero[i], e.leader[i]}))
            return std::nullopt;
    int code = 0;
    for (std::size_t i = 1; i < 9; ++i) {
        const double stronger = std::max(e.one[i], e.zero[i]), weaker = std::min(e.one[i], e.zero[i]);
        if (stronger < kClearBit * std::max({weaker, e.sync[i], e.leader[i]}))
            return std::nullopt;
        if (i < 8)
            code |= (e.one[i] > e.zero[i] ? 1 : 0) << (i - 1);
        else if ((e.one[i] > e.zero[i] ? 1 : 0) != visParity(code))
            return std::nullopt;
    }
    return code;
}

} // namespace

double VisReader::leaderEnd() const noexcept
{
    return static_cast<double>(ended_->last) + 0.75 * kSpectrumSize;
}

bool VisReader::bitsIn(std::uint64_t upTo) const noexcept
{
    return static_cast<double>(upTo) >= leaderEnd() + (kSearchMs + 10 * kVisBitMs + 5) * rate_ / 1000;
}

std::optional<VisHeader> VisReader::decode(const TrackBuffer& track) const
{
    const double ms = rate_ / 1000;
    const double leaderEnd = this->leaderEnd();
    const double origin = static_cast<double>(track.origin());
    const TrackView view = track.view();
    const double leaderFrom = std::max(static_cast<double>(ended_->first), leaderEnd - 280 * ms);
    const double offset = strongestTone(view, leaderFrom - origin, leaderEnd - 20 * ms - leaderFrom,
                                        ended_->hz - 30, ended_->hz + 30, 1) - kLeaderHz;
    double best = 0, bestStart = 0;
    for (double start = leaderEnd - kSearchMs * ms; start <= leaderEnd + kSearchMs * ms; start += ms)
        if (const double f = fit(bitEnergies(view, start - origin, offset)); f > best)
            best = f, bestStart = start;
    const auto code = codeOf(bitEnergies(view, bestStart - origin, offset));
    if (!code || !modeOfVis(*code))
        return std::nullopt;
    VisHeader header;
    header.code = *code;
    header.mode = modeOfVis(*code);
    header.startBit = bestStart;
    header.offsetHz = offset;
    header.trackRate = rate_;
    return header;
}

} // namespace tonobild::standard
