#include "frontend/receiving_front_end.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>
#include <numbers>

#include "frontend/hold_reader.h"
#include "frontend/sent_levels.h"
#include "frontend/silence.h"
#include "frontend/tone_rebuild.h"
#include "soundfile/recording.h"

namespace tonobild {

namespace {

// Crossings of the centre count only past this margin, so that noise around
// silence does not count as signal.
constexpr float kCrossingMargin = 8.0F;
// Fewer crossings than this: no transmission worth measuring.
constexpr std::size_t kFewestCrossings = 1000;
// Where the holds begin is measured over the first crossings, before the
// clock of a sound card slightly off has moved them by much.
constexpr std::size_t kPhaseCrossings = 256;
// The bias is measured over stretches this long (1.5 s at 44100); any stretch
// of pixel groups averages to the centre.
constexpr std::size_t kBiasStretch = std::size_t{1} << 16;
// Holds shorter than this are the transmission's own samples: passed on.
constexpr double kShortestHold = 1.5;
// A direct reading whose reference cycles lie this near their levels (RMS, in
// levels) is taken without trying the rebuild: it is the sent samples.
constexpr double kSteadyReference = 0.5;
// The samples of libsndfile, from -1 to 1, in levels.
constexpr float kLevelsPerUnit = 128.0F;
// A recording of floating-point samples may hold any value: one beyond this
// many times full scale is a fault of the file, not a sound.
constexpr float kFarthestSample = 4.0F;

// The recording's samples, centred on the decoder's middle: libsndfile reads
// the station's level s as (s - 128) / 128, a 16-bit value v as v / 32768.
// A sample that is not a number counts as silence and one beyond reach as
// the farthest, so that it costs its own neighbourhood alone.
std::vector<float> centredSamples(Recording& recording)
{
    std::vector<float> centred;
    for (auto block = recording.nextBlock(); !block.empty(); block = recording.nextBlock())
        std::transform(block.begin(), block.end(), std::back_inserter(centred), [](float s) {
            const float sound = std::isnan(s) ? 0.0F : std::clamp(s, -kFarthestSample, kFarthestSample);
            return sound * kLevelsPerUnit + static_cast<float>(128.0 - kCentreLevel);
        });
    return centred;
}

// The samples that are signal: all but the digital silences of at least
// `shortestSilence` samples.
std::vector<bool> signalSamples(std::span<const float> centred, std::size_t shortestSilence)
{
    std::vector<bool> signal(centred.size(), true);
    for (const Silence& silence : findSilences(centred, shortestSilence))
        std::fill(signal.begin() + static_cast<std::ptrdiff_t>(silence.begin),
                  signal.begin() + static_cast<std::ptrdiff_t>(silence.end), false);
    return signal;
}

// Where each stretch the bias is measured over begins: every kBiasStretch
// samples of signal, silence not counted, so that a silence lies in the
// stretch of the signal around it. The last stretch joins the one before when
// it is short, as a short stretch may end inside a pixel group.
std::vector<std::size_t> biasStretchStarts(const std::vector<bool>& signal)
{
    const auto total = static_cast<std::size_t>(std::count(signal.begin(), signal.end(), true));
    std::vector<std::size_t> starts{0};
    std::size_t counted = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        if (!signal[i])
            continue;
        if (counted > 0 && counted % kBiasStretch == 0 && counted + kBiasStretch <= total)
            starts.push_back(i);
        ++counted;
    }
    return starts;
}

// Takes the bias off each stretch, in whole levels so that a recording of the
// sent samples with a bias comes back as the sent samples. The bias is the
// mean of the stretch's signal: a silence is no signal and only takes the bias
// of the signal around it (none in a recording of silence alone). Answers the
// bias of the stretch in the middle of the recording.
int removeBias(std::vector<float>& centred, std::size_t shortestSilence)
{
    const std::vector<bool> signal = signalSamples(centred, shortestSilence);
    const std::vector<std::size_t> starts = biasStretchStarts(signal);
    int middleBias = 0;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t begin = starts[k];
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : centred.size();
        double sum = 0;
        std::size_t count = 0;
        for (std::size_t i = begin; i < end; ++i)
            if (signal[i]) {
                sum += centred[i];
                ++count;
            }
        const auto bias = static_cast<float>(count > 0 ? std::nearbyint(sum / static_cast<double>(count)) : 0.0);
        for (std::size_t i = begin; i < end; ++i)
            centred[i] -= bias;
        if (k == starts.size() / 2)
            middleBias = static_cast<int>(bias);
    }
    return middleBias;
}

// The shortest digital silence, measured before the hold is: a pixel group at
// the longest hold a transmission may have in the recording (one at the slow
// rate recorded at the file's rate or, without a rate, at the highest rate a
// recording may have), and never under a group of samples. Every group sends
// 224 and 31, so no transmission at any hold up to that stays at one level so
// long.
std::size_t shortestSilence(const ConditionReport& found)
{
    const double rate = found.fileRate > 0 ? found.fileRate : Recording::kHighestRate;
    return static_cast<std::size_t>(std::ceil(kSamplesPerGroup * std::max(rate / kSlowRate, 1.0)));
}

// The centre of the first hold of which more than half lies in the recording,
// given the centre of any one hold.
double firstHoldCentreFrom(double anyCentre, double hold)
{
    return anyCentre - std::floor(anyCentre / hold) * hold;
}

// Calls visit(i, first) where the signal crosses the centre between samples
// i - 1 and i (first: where it first leaves the margin, no crossing yet), for
// as long as visit answers true.
template <typename Visit>
void forEachCrossing(std::span<const float> centred, Visit visit)
{
    int side = 0; // -1 below the centre, +1 above, 0 not yet known
    for (std::size_t i = 0; i < centred.size(); ++i) {
        const int now = centred[i] > kCrossingMargin ? 1 : centred[i] < -kCrossingMargin ? -1 : side;
        if (now != side && now != 0 && !visit(i, side == 0))
            return;
        side = now;
    }
}

// The centre of the first hold of which more than half lies in the recording,
// from where its first crossings fall: each lies between two holds, so their
// mean position within a hold (taken round the hold, as a phase) is where
// holds begin, whatever instant the recording began at.
double firstHoldCentreOfCrossings(std::span<const float> centred, double hold)
{
    if (hold < kShortestHold)
        return 0; // no holds: the samples are taken as sent
    std::complex<double> turns = 0;
    std::size_t counted = 0;
    forEachCrossing(centred, [&](std::size_t i, bool first) {
        if (!first)
            turns += std::polar(1.0, 2 * std::numbers::pi * (static_cast<double>(i) - 0.5) / hold);
        return first || ++counted < kPhaseCrossings;
    });
    // To a 64th of a sample: whole holds then begin exactly between two samples.
    const double boundary = counted == 0 ? -0.5 : std::round(std::arg(turns) / (2 * std::numbers::pi) * hold * 64) / 64;
    return firstHoldCentreFrom(boundary + hold / 2.0, hold);
}

// What the hold could be before it is measured: a transmission at 11025 or
// 8000 recorded at the file's rate; without a rate, what the crossings say.
std::vector<double> nominalHolds(const ConditionReport& found, double crossings)
{
    if (found.fileRate > 0)
        return {found.fileRate / static_cast<double>(kTransmissionRate), found.fileRate / static_cast<double>(kSlowRate)};
    return {crossings};
}

// The samples as sent, only re-centred: a recording at the transmission's own rate.
std::vector<std::uint8_t> asSent(std::span<const float> centred)
{
    std::vector<std::uint8_t> out(centred.size());
    std::transform(centred.begin(), centred.end(), out.begin(), sentLevel);
    return out;
}

// The centre of the first hold of which more than half lies in the recording,
// on the grid of the line syncs.
double firstHoldCentre(const LineGrid& grid, double hold)
{
    return firstHoldCentreFrom(grid.firstMarker - (kSamplesPerGroup - 1) / 2.0 * hold, hold);
}

// The holds read at their centres from `firstCentre` on; below the shortest hold, the samples as sent.
std::vector<std::uint8_t> readDirectly(std::span<const float> centred, double hold, double firstCentre)
{
    return hold >= kShortestHold ? readHolds(centred, hold, firstCentre) : asSent(centred);
}

void takeHold(ConditionReport& found, double hold)
{
    found.samplesPerSymbol = hold == 0 ? 1.0 : hold;
    found.resampled = hold >= kShortestHold;
}

// a - b of each group of the rebuild as the direct reading read it: ((s0 - s1)
// - (s2 - s3)) / 2 of the four samples read in the group's holds; NaN where
// the reading has none.
std::vector<double> directGroupTones(std::span<const std::uint8_t> direct, const RebuiltTransmission& rebuilt,
                                     const LineGrid& grid, double hold, double firstCentre)
{
    std::vector<double> tones(rebuilt.groups.values.size(), std::numeric_limits<double>::quiet_NaN());
    for (std::size_t k = 0; k < tones.size(); ++k) {
        const double firstHold = grid.centre(rebuilt.groups.firstGroup + static_cast<long>(k)) -
                                 (kSamplesPerGroup - 1) / 2.0 * hold;
        const double at = std::nearbyint((firstHold - firstCentre) / hold);
        if (at < 0 || at + kSamplesPerGroup > static_cast<double>(direct.size()))
            continue;
        const auto* s = direct.data() + static_cast<std::size_t>(at);
        tones[k] = ((s[0] - s[1]) - (s[2] - s[3])) / 2.0;
    }
    return tones;
}

// The recording read on the grid of its line syncs: directly, or rebuilt from
// its tone when the groups of known level came out nearer their levels so.
std::vector<std::uint8_t> readOnTheGrid(std::span<const float> centred, const ToneReading& tone, ConditionReport& found)
{
    const double hold = tone.hold();
    takeHold(found, hold);
    found.toneHertz = tone.carrier() * found.fileRate;
    const double firstCentre = found.resampled ? firstHoldCentre(tone.grid(), hold) : 0.0;
    std::vector<std::uint8_t> direct = readDirectly(centred, hold, firstCentre);
    if (referenceError(direct) <= kSteadyReference)
        return direct;
    RebuiltTransmission rebuilt = tone.rebuild();
    const double directError = knownGroupError(
        directGroupTones(direct, rebuilt, tone.grid(), found.resampled ? hold : 1.0, firstCentre), rebuilt.groups.known);
    if (rebuilt.samples.empty() || knownGroupError(rebuilt.groups.values, rebuilt.groups.known) >= directError)
        return direct;
    found.resampled = true;
    found.rebuiltFromTone = true;
    return std::move(rebuilt.samples);
}

// A recording that lost nothing is read at the hold its crossings give, from
// where they put the first hold: every reference cycle then reads at its
// level. Any other is read on the grid of the line syncs in its tone, when
// there is one.
std::vector<std::uint8_t> readTransmission(std::span<const float> centred, ConditionReport& found)
{
    const double crossings = measureHoldLength(centred);
    takeHold(found, crossings);
    std::vector<std::uint8_t> direct = readDirectly(centred, crossings, firstHoldCentreOfCrossings(centred, crossings));
    if (referenceError(direct) <= kSteadyReference)
        return direct;
    const ToneReading tone(centred, nominalHolds(found, crossings));
    if (!tone.found() || tone.hold() < 1.0)
        return direct;
    return readOnTheGrid(centred, tone, found);
}

} // namespace

std::string describe(const ConditionReport& report)
{
    std::string text = report.kind.empty() ? "no WAV header" : report.kind + " at " + std::to_string(report.fileRate) + " Hz";
    text += ", bias " + std::to_string(report.dcOffset) + " levels, ";
    if (!report.resampled)
        return text + "samples taken as sent";
    char figure[32];
    if (report.rebuiltFromTone) {
        text += "rebuilt from the quarter-rate tone";
        if (report.toneHertz > 0) {
            std::snprintf(figure, sizeof figure, " at %.1f Hz", report.toneHertz);
            text += figure;
        }
        text += ", ";
    }
    std::snprintf(figure, sizeof figure, "%.4f", report.samplesPerSymbol);
    return text + figure + " samples per transmitted sample";
}

double measureHoldLength(std::span<const float> centred)
{
    std::vector<std::size_t> intervals;
    std::size_t lastCrossing = 0;
    forEachCrossing(centred, [&](std::size_t i, bool first) {
        if (!first)
            intervals.push_back(i - lastCrossing);
        lastCrossing = i;
        return true;
    });
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

std::vector<std::uint8_t> conditionRecording(Recording& recording, ConditionReport* report)
{
    ConditionReport found;
    if (!recording.headerless()) {
        found.kind = recording.kind();
        found.fileRate = static_cast<std::uint32_t>(recording.sampleRate());
    }
    std::vector<float> centred = centredSamples(recording);
    std::vector<std::uint8_t> out;
    if (!centred.empty()) {
        found.dcOffset = removeBias(centred, shortestSilence(found));
        out = readTransmission(centred, found);
    }
    if (report != nullptr)
        *report = found;
    return out;
}

std::vector<std::uint8_t> conditionRecording(std::span<const std::uint8_t> recording, ConditionReport* report)
{
    Recording held(std::vector<std::uint8_t>(recording.begin(), recording.end()), "the recording");
    return conditionRecording(held, report);
}

} // namespace tonobild
