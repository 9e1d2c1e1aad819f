#include "frontend/receiving_front_end.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "soundfile/wav_file.h"
#include "soundfile/sample_file.h"
#include "frontend/interpolator.h"
#include "frontend/tone_rebuild.h"

namespace tonobild {

namespace {

constexpr float kCentre = 127.5F;
// Crossings of the centre count only past this margin, so that noise around
// silence does not count as signal.
constexpr float kCrossingMargin = 8.0F;
// Fewer crossings than this: no transmission worth measuring.
constexpr std::size_t kFewestCrossings = 1000;
// The bias is measured over stretches this long (1.5 s at 44100); any stretch
// of pixel groups averages to the centre.
constexpr std::size_t kBiasStretch = std::size_t{1} << 16;
// Holds shorter than this are the transmission's own samples: passed on.
constexpr double kShortestHold = 1.5;
// How far the timing loop moves the sampling instant per transmitted sample,
// as a share of the hold, for an error the size of the signal's power.
constexpr double kLoopGain = 0.02;
// The signal's power is followed over this many transmitted samples.
constexpr double kLoopPowerSpan = 256.0;
// The change between the two samples of a white cycle (224 and 31), in levels.
constexpr double kFullSwing = 193.0;
// Keeps the loop still where there is no signal to follow (squared levels).
constexpr double kLoopPowerFloor = 100.0;

bool hasWavHeader(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

// One centred mono sample per frame, in 8-bit levels.
std::vector<float> centredFrames(const WavAudio& audio)
{
    const std::size_t frames = audio.frameCount();
    const std::size_t bytesPerSample = audio.bitsPerSample / 8u;
    std::vector<float> centred(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (std::size_t c = 0; c < audio.channels; ++c) {
            const std::uint8_t* at = audio.data.data() + f * audio.frameBytes() + c * bytesPerSample;
            if (bytesPerSample == 1) {
                sum += static_cast<float>(*at) - kCentre;
            } else {
                const auto value = static_cast<std::int16_t>(at[0] | at[1] << 8);
                sum += static_cast<float>(value) / 256.0F + 0.5F; // (s - 128) * 256 is the 16-bit form
            }
        }
        centred[f] = sum / static_cast<float>(audio.channels);
    }
    return centred;
}

std::vector<float> centredBytes(std::span<const std::uint8_t> bytes)
{
    std::vector<float> centred(bytes.size());
    std::transform(bytes.begin(), bytes.end(), centred.begin(),
                   [](std::uint8_t s) { return static_cast<float>(s) - kCentre; });
    return centred;
}

// Takes the bias off each stretch, in whole levels so that a recording of the
// sent samples with a bias comes back as the sent samples. The last stretch
// joins the one before when it is short, as a short stretch may end inside a
// pixel group. Answers the bias of the stretch in the middle of the recording.
int removeBias(std::vector<float>& centred)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at + kBiasStretch <= centred.size() || at == 0; at += kBiasStretch)
        starts.push_back(at);
    int middleBias = 0;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t begin = starts[k];
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : centred.size();
        double sum = 0;
        for (std::size_t i = begin; i < end; ++i)
            sum += centred[i];
        const double mean = end > begin ? sum / static_cast<double>(end - begin) : 0.0;
        const auto bias = static_cast<float>(std::nearbyint(mean));
        for (std::size_t i = begin; i < end; ++i)
            centred[i] -= bias;
        if (k == starts.size() / 2)
            middleBias = static_cast<int>(bias);
    }
    return middleBias;
}

std::uint8_t toLevel(double centred)
{
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(centred + kCentre), 0.0, 255.0));
}

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
std::vector<std::uint8_t> sampleHoldCentres(const HoldReader& reader, std::span<const float> centred, double hold)
{
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(static_cast<double>(centred.size()) / hold) + 1);
    const double last = static_cast<double>(centred.size()) - 1.0;
    const double start = hold / 2.0 - 0.5;
    double previous = 0;
    double power = kFullSwing * kFullSwing; // a change from white to its opposite
    for (double t = start; t <= last; t += hold) {
        const double value = reader.heldValue(t);
        out.push_back(toLevel(value));
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

// How steady the reference cycles came out: the share of samples within a
// level of 224 or 31, which half of all samples are sent as.
double referenceSteadiness(const std::vector<std::uint8_t>& samples)
{
    const auto steady = std::count_if(samples.begin(), samples.end(), [](std::uint8_t s) {
        return std::abs(s - 224) <= 1 || std::abs(s - 31) <= 1;
    });
    return samples.empty() ? 0.0 : static_cast<double>(steady) / static_cast<double>(samples.size());
}

// Both widths are read, and the one with the steadier reference cycles is kept.
std::vector<std::uint8_t> readHolds(std::span<const float> centred, double hold)
{
    const HoldReader narrow(centred, hold, HoldReader::Width::Narrow);
    std::vector<std::uint8_t> out = sampleHoldCentres(narrow, centred, hold);
    std::vector<std::uint8_t> wide = sampleHoldCentres(HoldReader(centred, hold, HoldReader::Width::Wide), centred, hold);
    return referenceSteadiness(wide) > referenceSteadiness(out) ? wide : out;
}

} // namespace

std::string describe(const ConditionReport& report)
{
    std::string text = report.wavHeader ? "WAV at " + std::to_string(report.fileRate) + " Hz" : "no WAV header";
    text += ", bias " + std::to_string(report.dcOffset) + " levels, ";
    if (!report.resampled)
        return text + "samples taken as sent";
    if (report.rebuiltFromTone)
        text += "rebuilt from the quarter-rate tone (a resampler took the rest), ";
    char hold[32];
    std::snprintf(hold, sizeof hold, "%.4f", report.samplesPerSymbol);
    return text + hold + " samples per transmitted sample";
}

double measureHoldLength(std::span<const float> centred)
{
    std::vector<std::size_t> intervals;
    int side = 0; // -1 below the centre, +1 above, 0 not yet known
    std::size_t lastCrossing = 0;
    for (std::size_t i = 0; i < centred.size(); ++i) {
        const int now = centred[i] > kCrossingMargin ? 1 : centred[i] < -kCrossingMargin ? -1 : side;
        if (side != 0 && now != side) {
            intervals.push_back(i - lastCrossing);
            lastCrossing = i;
        } else if (side == 0 && now != 0) {
            lastCrossing = i;
        }
        side = now;
    }
    if (intervals.size() < kFewestCrossings)
        return 0;
    // The signal's own crossings are the common ones; pauses and noise give the
    // rare long or short ones.
    std::vector<std::size_t> sorted = intervals;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
    const double median = static_cast<double>(sorted[sorted.size() / 2]);
    double total = 0;
    std::size_t counted = 0;
    for (const std::size_t interval : intervals) {
        const auto length = static_cast<double>(interval);
        if (length >= 0.5 * median && length <= 1.5 * median) {
            total += length;
            ++counted;
        }
    }
    return counted == 0 ? 0 : total / static_cast<double>(counted);
}

std::vector<std::uint8_t> conditionRecording(std::span<const std::uint8_t> recording, ConditionReport* report)
{
    ConditionReport found;
    std::vector<float> centred;
    if (hasWavHeader(recording)) {
        const WavAudio audio = parseWav(std::vector<std::uint8_t>(recording.begin(), recording.end()));
        found.wavHeader = true;
        found.fileRate = audio.sampleRate;
        centred = centredFrames(audio);
    } else {
        centred = centredBytes(recording);
    }
    std::vector<std::uint8_t> out;
    if (!centred.empty()) {
        found.dcOffset = removeBias(centred);
        const double hold = measureHoldLength(centred);
        found.samplesPerSymbol = hold == 0 ? 1.0 : hold;
        found.resampled = hold >= kShortestHold;
        const double toneHold = found.wavHeader ? toneOnlyHold(hold, found.fileRate) : 0.0;
        found.rebuiltFromTone = toneHold > 0;
        if (found.rebuiltFromTone) {
            found.samplesPerSymbol = toneHold;
            out = rebuildFromTone(centred, toneHold);
        } else if (found.resampled) {
            out = readHolds(centred, hold);
        } else {
            out.resize(centred.size());
            std::transform(centred.begin(), centred.end(), out.begin(), toLevel);
        }
    }
    if (report != nullptr)
        *report = found;
    return out;
}

std::vector<std::uint8_t> conditionRecording(SampleSource& recording, ConditionReport* report)
{
    std::vector<std::uint8_t> whole;
    for (auto block = recording.nextBlock(); !block.empty(); block = recording.nextBlock())
        whole.insert(whole.end(), block.begin(), block.end());
    return conditionRecording(whole, report);
}

} // namespace tonobild
