#include "frontend/hold_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "frontend/interpolator.h"
#include "frontend/sent_levels.h"
#include "frontend/silence.h"

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

// The timing loop. Between two held samples of opposite sign the recording
// passes through their mean exactly halfway when the timing is right; sampled
// late, the halfway value has moved towards the later sample. So (later -
// earlier) times the halfway value, less its share that the held values
// themselves give (which sums to nothing over a line), says how late the
// instant is. The loop takes it in small steps against the power of the
// signal, so noise averages out. It starts afresh with every stretch of
// signal: the silence before it is no signal to follow or to measure.
class TimingLoop {
public:
    // How far to move the next instant, after the hold at t read `value`.
    double correction(std::span<const float> centred, double t, double hold, double value)
    {
        const bool first = !started_;
        const double change = value - previous_;
        started_ = true;
        previous_ = value;
        if (first)
            return 0.0;
        const double halfway = linearValueAt(centred, t - hold / 2.0);
        power_ += (change * change - power_) / kLoopPowerSpan;
        return -kLoopGain * hold * change * halfway / (power_ + kLoopPowerFloor);
    }

private:
    bool started_ = false;
    double previous_ = 0;
    double power_ = kFullSwing * kFullSwing; // a change from white to its opposite
};

// Samples the centre of every hold, following the holds with a timing loop.
// A hold wholly in silence is read as the silence; the first hold after it
// begins with the first sample that leaves it, where the next transmission's
// first sample begins.
std::vector<std::uint8_t> sampleHoldCentres(const HoldReader& reader, std::span<const float> centred, double hold,
                                            double start)
{
    const std::vector<Silence> silences =
        findSilences(centred, static_cast<std::size_t>(std::ceil(kSamplesPerGroup * hold)));
    auto silence = silences.begin();
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(static_cast<double>(centred.size()) / hold) + 1);
    const double last = static_cast<double>(centred.size()) - 1.0;
    TimingLoop loop;
    for (double t = start; t <= last; t += hold) {
        // The hold spans t - hold / 2 to t + hold / 2; sample i spans i - 0.5 to i + 0.5.
        while (silence != silences.end() && static_cast<double>(silence->end) - 0.5 <= t - hold / 2.0)
            ++silence;
        const bool fromSilence = silence != silences.end() && static_cast<double>(silence->begin) - 0.5 <= t - hold / 2.0;
        if (fromSilence && t + hold / 2.0 <= static_cast<double>(silence->end) - 0.5) {
            out.push_back(sentLevel(reader.heldValue(t)));
            loop = TimingLoop();
            continue;
        }
        if (fromSilence) { // the signal begins inside this hold: the hold begins with it
            t = static_cast<double>(silence->end) - 0.5 + hold / 2.0;
            if (t > last)
                break;
        }
        const double value = reader.heldValue(t);
        out.push_back(sentLevel(value));
        t += loop.correction(centred, t, hold, value);
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

// The signal alone, each silence taken out: a transmission ends and begins
// with whole groups, so the groups keep their places across each gap.
std::vector<std::uint8_t> withoutSilence(std::span<const std::uint8_t> samples)
{
    std::vector<std::uint8_t> signal;
    std::size_t from = 0;
    for (const Silence& silence : findSilences(samples, static_cast<std::size_t>(kSamplesPerGroup))) {
        signal.insert(signal.end(), samples.begin() + from, samples.begin() + silence.begin);
        from = silence.end;
    }
    signal.insert(signal.end(), samples.begin() + from, samples.end());
    return signal;
}

// How steady the reference cycles came out: the share of the signal's samples
// within a level of 224 or 31, which half of all samples are sent as.
double referenceSteadiness(std::span<const std::uint8_t> reading)
{
    const std::vector<std::uint8_t> samples = withoutSilence(reading);
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
    const std::vector<std::uint8_t> signal = withoutSilence(samples);
    double squares = 0;
    std::size_t count = 0;
    for (std::size_t from = 0; from + kStretch <= signal.size(); from += kStretch) {
        const auto stretch = std::span(signal).subspan(from, kStretch);
        double best = referenceSquares(stretch, 0);
        for (std::size_t phase = 1; phase < static_cast<std::size_t>(kSamplesPerGroup); ++phase)
            best = std::min(best, referenceSquares(stretch, phase));
        squares += best;
        count += kStretch / 2;
    }
    // Where nothing was measured, nothing shows the reading steady.
    return count == 0 ? std::numeric_limits<double>::infinity() : std::sqrt(squares / static_cast<double>(count));
}

} // namespace tonobild
