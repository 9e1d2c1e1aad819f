// The receiving front end against what audio paths do to a transmission. Every
// path that loses nothing (a WAV header, repeated samples, a bias in whole
// levels, a clock off by 0.1 %) must give back exactly the samples that were sent,
// and the report says what was found.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>

#include "soundfile/wav_file.h"
#include "frontend/hold_reader.h"
#include "frontend/receiving_front_end.h"
#include "frontend/tone_rebuild.h"
#include "support/recordings.h"

using namespace tonobild;
using testdata::held;

namespace {

const std::vector<std::uint8_t>& sent()
{
    static const auto stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    return stream;
}

// A recording whose clock runs `ratio` times the sender's, each sent sample
// lasting four recorded samples: recorded sample k is sent sample k / (4 * ratio).
std::vector<std::uint8_t> recordedAt(double ratio)
{
    std::vector<std::uint8_t> out;
    for (double at = 0; at < static_cast<double>(sent().size()); at += 1.0 / (4.0 * ratio))
        out.push_back(sent()[static_cast<std::size_t>(at)]);
    return out;
}

std::vector<std::uint8_t> biased(std::vector<std::uint8_t> samples, int bias)
{
    std::ranges::for_each(samples, [bias](std::uint8_t& s) { s = static_cast<std::uint8_t>(s + bias); });
    return samples;
}

// The samples as a 16-bit stereo WAV at 44100, both channels (s - 128) * 256.
std::vector<std::uint8_t> stereo16(const std::vector<std::uint8_t>& samples)
{
    std::vector<std::uint8_t> data;
    for (const std::uint8_t s : samples)
        data.insert(data.end(), {0, static_cast<std::uint8_t>(s - 128), 0, static_cast<std::uint8_t>(s - 128)});
    return testdata::wavBytes(1, 2, 44100, 16, data, static_cast<std::uint32_t>(data.size()));
}

// The samples held four times at 44100 as a sound card records them at 48000:
// each recorded sample the band-limited value at its instant (a sinc cut off at
// 95 % of 22050 Hz under a Blackman window 64 samples wide), in 16 bits. 147
// samples at 44100 last as long as 160 at 48000, so there are 160 instants.
std::vector<std::uint8_t> soundCardAt48000(const std::vector<std::uint8_t>& samples)
{
    constexpr int kHalf = 32;
    constexpr double kPi = std::numbers::pi;
    std::vector<std::array<double, 2 * kHalf>> kernel(160);
    for (std::size_t phase = 0; phase < 160; ++phase)
        for (int k = 0; k < 2 * kHalf; ++k) {
            const double x = k - kHalf + 1 - static_cast<double>(phase) / 160.0; // held sample to instant
            kernel[phase][k] = (x == 0 ? 0.95 : std::sin(kPi * 0.95 * x) / (kPi * x)) *
                (0.42 + 0.5 * std::cos(kPi * x / kHalf) + 0.08 * std::cos(2 * kPi * x / kHalf));
        }
    const std::vector<std::uint8_t> at44100 = held(samples, 4);
    std::vector<std::uint8_t> data;
    for (std::size_t j = 0; j * 147 / 160 < at44100.size(); ++j) {
        double sum = 0;
        const auto from = static_cast<std::ptrdiff_t>(j * 147 / 160) - kHalf + 1; // the first held sample read
        for (int k = 0; k < 2 * kHalf; ++k)
            if (from + k >= 0 && from + k < std::ssize(at44100))
                sum += (at44100[from + k] - 128.0) * kernel[j * 147 % 160][k];
        const auto value = static_cast<std::uint16_t>(std::lround(std::clamp(sum * 256.0, -32768.0, 32767.0)));
        data.insert(data.end(), {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
    }
    return testdata::wavBytes(1, 1, 48000, 16, data, static_cast<std::uint32_t>(data.size()));
}

// The samples held four times, recorded from the `missing`th on.
std::vector<std::uint8_t> joinedAt(std::size_t missing)
{
    const std::vector<std::uint8_t> all = held(sent(), 4);
    return {all.begin() + static_cast<std::ptrdiff_t>(missing), all.end()};
}

struct LosslessPath {
    const char* name;
    std::function<std::vector<std::uint8_t>()> recording;
    std::size_t firstSent = 0;      // the recording begins with this sent sample
    double samplesPerSymbol = 1.0; // as measured (0: not checked)
    const char* described = "";     // what the report says (empty: not checked)
    std::size_t ends = 0;           // samples at each end left to a resampler's ringing
};

} // namespace

TEST(ReceivingFrontEnd, EveryLosslessPathGivesBackTheSentSamples)
{
    const LosslessPath paths[] = {
        {"sent stream", [] { return sent(); }},
        {"encoder's WAV", [] { return recordingtest::record(sent(), recordingtest::Recording::Wav); }},
        {"held 4 times", [] { return held(sent(), 4); }, 0, 4.0},
        {"held 6 times", [] { return held(sent(), 6); }, 0, 6.0},
        {"recorder's file at 44100", [] { return recordingFileBytes(held(sent(), 4)); }, 0, 4.0,
         "WAV at 44100 Hz, bias 0 levels, 4.0000 samples per transmitted sample"},
        {"16-bit stereo at 44100", [] { return stereo16(held(sent(), 4)); }, 0, 4.0},
        {"bias -20", [] { return biased(sent(), -20); }, 0, 1.0, "no WAV header, bias -20 levels, samples taken as sent"},
        {"bias +31, held 4 times", [] { return biased(held(sent(), 4), 31); }, 0, 4.0},
        {"bias -31", [] { return biased(sent(), -31); }}, // 224 and 31 stay within 0 to 255
        // 4001 to 4003 samples missing: it starts with the last three, two or
        // one of sent sample 1000's hold; a hold is read when more than half of it was recorded.
        {"joined in a hold", [] { return joinedAt(4001); }, 1000, 0},
        {"joined half way through a hold", [] { return joinedAt(4002); }, 1001, 0},
        {"joined at a hold's last sample", [] { return joinedAt(4003); }, 1001, 0},
        {"a sample of another level first", [] { auto all = held(sent(), 4); all.insert(all.begin(), 128); return all; }, 0, 0},
        // Holds of 4 and now and then 5 (or 3): a receiving sound card 0.1 % fast (or slow).
        {"clock 0.1 % fast", [] { return recordedAt(1.001); }, 0, 4.004},
        {"clock 0.1 % slow", [] { return recordedAt(0.999); }, 0, 3.996},
        // Off the grid of whole multiples: the holds are interpolated.
        {"sound card at 48000", [] { return soundCardAt48000(sent()); }, 0, 48000.0 / 11025.0, "", 2}};
    for (const LosslessPath& path : paths) {
        SCOPED_TRACE(path.name);
        ConditionReport report;
        const std::vector<std::uint8_t> out = conditionRecording(path.recording(), &report);
        // A changed clock may end one sample early or late.
        const auto expected = std::span(sent()).subspan(path.firstSent);
        const std::size_t common = std::min(out.size(), expected.size());
        ASSERT_LE(std::max(out.size(), expected.size()) - common, 1u);
        EXPECT_TRUE(std::ranges::equal(std::span(out).first(common - path.ends).subspan(path.ends),
                                       expected.first(common - path.ends).subspan(path.ends)));
        if (path.samplesPerSymbol > 0) { EXPECT_NEAR(report.samplesPerSymbol, path.samplesPerSymbol, 0.0005); }
        if (*path.described != '\0') { EXPECT_EQ(describe(report), path.described); }
    }
}

// Digital silence (the centre level) before a transmission held 4 times, or
// between two: it reads as the centre level less the transmission's bias for
// as long as it lasts (half a sent sample either way), and every sent sample
// around it comes back exactly: the bias is measured on the signal alone.
TEST(ReceivingFrontEnd, DigitalSilenceReadsAsTheCentreAndTheTransmissionsAroundItExactly)
{
    struct Silences {
        std::vector<std::size_t> before; // recorded samples of silence before each transmission
        bool recorderFile = false;       // the recorder's WAV at 44100, else the samples alone
        int bias = 0;                    // levels added to each transmission, not to the silence
    };
    const Silences rows[] = {{{4000}}, {{22050}}, {{88200}}, {{22050}, true}, {{0, 44101}}, {{22050}, false, 31},
                             {{22050}, false, -17}};
    for (const auto& [before, recorderFile, bias] : rows) {
        SCOPED_TRACE(testing::Message() << before.back() << " silent before transmission " << before.size() << ", bias "
                                        << bias);
        std::vector<std::uint8_t> recording;
        for (const std::size_t silent : before) {
            const auto transmission = biased(held(sent(), 4), bias);
            recording.insert(recording.end(), silent, 128);
            recording.insert(recording.end(), transmission.begin(), transmission.end());
        }
        const std::vector<std::uint8_t> out = conditionRecording(recorderFile ? recordingFileBytes(recording) : recording);
        auto at = out.begin();
        for (const std::size_t silent : before) {
            const auto signal = std::find_if(at, out.end(), [&](std::uint8_t s) { return s != 128 - bias; });
            EXPECT_NEAR(static_cast<double>(4 * (signal - at)), static_cast<double>(silent), 2.0);
            ASSERT_GE(out.end() - signal, std::ssize(sent()));
            EXPECT_TRUE(std::equal(sent().begin(), sent().end(), signal));
            at = signal + std::ssize(sent());
        }
        EXPECT_EQ(out.end() - at, 0);
    }
    // Neither silence nor a reading too short to measure shows a reading steady.
    EXPECT_EQ(referenceError(std::vector<std::uint8_t>(50000, 128)), std::numeric_limits<double>::infinity());
    EXPECT_EQ(referenceError(std::span(sent()).first(4000)), std::numeric_limits<double>::infinity());
}

TEST(ReceivingFrontEnd, HoldLengthIsTheMeanDistanceOfCrossingsPastPausesAndSilence)
{
    // Runs of +20 and -20 of the lengths given, one sample more to end the last.
    const auto runs = [](std::initializer_list<int> lengths, int repeats) {
        std::vector<float> s;
        float level = 20.0F;
        for (int r = 0; r < repeats; ++r)
            for (const int n : lengths) {
                s.insert(s.end(), static_cast<std::size_t>(n), level);
                level = -level;
            }
        s.push_back(level);
        return s;
    };
    // +20 three times, -20 three times: a crossing every 3 samples; a pause of
    // near-silence inside the margin changes nothing.
    std::vector<float> paused = runs({3, 3}, 2000);
    paused.insert(paused.begin() + 600, 5000, 0.5F);
    std::vector<float> oneShort = runs({3, 3}, 500);
    oneShort.pop_back();
    // Too few crossings: no signal. 1000 holds of 3 cross 1000 times with the sample that ends
    // the last, 999 times without it: 1000 are the fewest that count. As many crossings 2 apart
    // as 6: the median is the upper middle one, 6, and only the 6s count. 4, 4, 2, 6: the median
    // 4 keeps 2 and 6, half of it and one and a half times it, so the mean is 16 / 4.
    const std::pair<std::vector<float>, double> signals[] = {
        {runs({3, 3}, 2000), 3.0}, {paused, 3.0}, {std::vector<float>(900, 20.0F), 0.0}, {runs({3, 3}, 500), 3.0},
        {oneShort, 0.0}, {runs({2, 6}, 500), 6.0}, {runs({4, 4, 2, 6}, 250), 4.0}};
    for (const auto& [signal, hold] : signals)
        EXPECT_DOUBLE_EQ(measureHoldLength(signal), hold) << "case " << &signal - &signals[0].first;
    // Holds of 1 and 2 in turn, levels 168 and 107 (bias 0): 1.5 is the shortest hold read.
    std::vector<std::uint8_t> shortest;
    std::ranges::transform(runs({1, 2}, 500), back_inserter(shortest), [](float s) { return s > 0 ? 168 : 107; });
    ConditionReport report;
    conditionRecording(shortest, &report);
    EXPECT_EQ(describe(report), "no WAV header, bias 0 levels, 1.5000 samples per transmitted sample");

    // The reading kept: holds of 4 about the centre in fours, [200, b, 229, 200],
    // [55, y, y, 55], [200 x 4], [55, y, y, 55] (y keeps the mean on the centre;
    // each hold's edges mirror the next one's, so the timing loop keeps still).
    // The first is read narrow as (200 + 2 * 229) / 3, 219 rounded, and wide as
    // (200 + b + 229) / 3 = 222, 223, 225, 226: wide is kept within a level of
    // 224 only, and mirrored (33, 32, 30, 29) within a level of 31.
    for (const auto& [b, first] : {std::pair{237, 219}, {240, 223}, {246, 225}, {249, 219}}) {
        const auto y = static_cast<std::uint8_t>((622 - b - 229) / 4);
        const std::uint8_t period[] = {200, static_cast<std::uint8_t>(b), 229, 200, 55, y, y, 55,
                                       200, 200, 200, 200, 55, y, y, 55};
        std::vector<std::uint8_t> holds, mirrored;
        for (int k = 0; k < 260; ++k)
            holds.insert(holds.end(), std::begin(period), std::end(period));
        std::ranges::transform(holds, std::back_inserter(mirrored), [](std::uint8_t s) { return 255 - s; });
        EXPECT_EQ(conditionRecording(holds)[4], first) << b;
        EXPECT_EQ(conditionRecording(mirrored)[4], 255 - first) << b;
    }

    EXPECT_TRUE(conditionRecording(std::vector<std::uint8_t>{}).empty());
    const std::vector<std::uint8_t> silence(50000, 128);
    EXPECT_EQ(conditionRecording(silence), silence);
}

// Rebuilding a transmission from the quarter-rate tone a resampler leaves of it.
TEST(ToneRebuild, EveryGroupComesBackFromTheToneAlone)
{
    // What is left of a group a, -a, b, -b without its Nyquist half: (a - b) / 2
    // times 1, -1, -1, 1, here at the transmission's own rate (a hold of 1).
    std::vector<float> tone;
    for (std::size_t g = 0; g + 4 <= sent().size(); g += 4) {
        const float half = (static_cast<float>(sent()[g]) - static_cast<float>(sent()[g + 2])) / 2.0F;
        tone.insert(tone.end(), {half, -half, -half, half});
    }
    const std::vector<std::uint8_t> back = rebuildFromTone(tone, 1.0);
    // Every group is read; the equaliser reads neighbours that the first ten groups (40
    // samples, all in the leader) lack.
    ASSERT_EQ(back.size(), sent().size());
    EXPECT_TRUE(std::equal(back.begin() + 40, back.end(), sent().begin() + 40));
    // Silence gives nothing.
    EXPECT_TRUE(rebuildFromTone(std::vector<float>(100000, 0.5F), 4.0).empty() && rebuildFromTone({}, 4.0).empty());
}

// A 32-bit float WAV may hold what no sound card records: a value that is not
// a number, an infinity, a value far beyond full scale. Each costs the sent
// samples around it and nothing more; the rest comes back exactly.
TEST(ReceivingFrontEnd, FloatSamplesThatAreNoSoundCostOnlyTheirNeighbourhood)
{
    const std::vector<std::uint8_t> at44100 = held(sent(), 4);
    std::vector<float> values;
    for (const std::uint8_t s : at44100)
        values.push_back((s - 128.0F) / 128.0F);
    values[40001] = std::numeric_limits<float>::quiet_NaN();
    values[80001] = std::numeric_limits<float>::infinity();
    values[120001] = -1e30F;
    std::vector<std::uint8_t> data(values.size() * sizeof(float));
    std::memcpy(data.data(), values.data(), data.size());
    const std::vector<std::uint8_t> out =
        conditionRecording(testdata::wavBytes(3, 1, 44100, 32, data, static_cast<std::uint32_t>(data.size())));
    ASSERT_EQ(out.size(), sent().size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < out.size(); ++i)
        differing += out[i] != sent()[i];
    EXPECT_LE(differing, 9u); // three faults, at most the sent sample and one each side
}
