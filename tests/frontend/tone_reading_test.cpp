// The quarter-rate tone of a transmission: found as a spectral line, its line
// grid read from the syncs, every group read back through the equaliser, over
// the paths that leave the tone alone: a resampler, a voice channel, a
// receiver mistuned by some hertz, a sound card's clock.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "decoder/decode_support.h"
#include "frontend/receiving_front_end.h"
#include "frontend/spectral_line.h"
#include "frontend/tone_rebuild.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

constexpr double kPi = std::numbers::pi;

const std::vector<std::uint8_t>& sent()
{
    static const auto stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    return stream;
}

// A mostly dark transmission: every component between 0 and 39.
const std::vector<std::uint8_t>& sentDark()
{
    static const auto stream = [] {
        WorkingPicture picture(160, 120);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                picture.setColour(x, y, colourNumber((x + y) % 40, (3 * x) % 40, (5 * y) % 40));
        return decodetest::encodeStream(picture);
    }();
    return stream;
}

// What is left of a transmission without its Nyquist half, recorded `hold`
// samples per sent sample: group g's a - b (sent levels) times the tone,
// (a - b) / sqrt(2) cos(2 pi s / 4 + pi / 4) at sent sample s, which is
// (a - b) / 2 times 1, -1, -1, 1 at the samples sent; a receiver mistuned by
// `shift` turns the tone faster, not the groups.
std::vector<float> toneOnly(double hold, double shift, const std::vector<std::uint8_t>& stream = sent())
{
    std::vector<float> tone;
    const double groups = static_cast<double>(stream.size() / 4);
    for (double n = 0; n / hold / 4.0 < groups; ++n) {
        const double s = n / hold;
        const auto group = static_cast<std::size_t>(s / 4.0);
        const double value = static_cast<double>(stream[4 * group]) - stream[4 * group + 2];
        tone.push_back(static_cast<float>(value / std::sqrt(2.0) * std::cos(2 * kPi * (s / 4.0 + shift * n) + kPi / 4)));
    }
    return tone;
}

// A voice channel from 300 to `top` Hz at 44100: a windowed-sinc band-pass of 255 taps.
std::vector<float> voiceChannel(const std::vector<float>& in, double top = 3000)
{
    constexpr int kHalf = 127;
    std::vector<double> taps(2 * kHalf + 1);
    const auto lowPass = [](double f, int k) { return k == 0 ? 2 * f : std::sin(2 * kPi * f * k) / (kPi * k); };
    for (int k = -kHalf; k <= kHalf; ++k)
        taps[static_cast<std::size_t>(k + kHalf)] = (lowPass(top / 44100, k) - lowPass(300.0 / 44100, k)) *
                                                    (0.54 + 0.46 * std::cos(kPi * k / kHalf));
    std::vector<float> out(in.size());
    for (std::size_t n = 0; n < in.size(); ++n) {
        double sum = 0;
        for (int k = -kHalf; k <= kHalf; ++k)
            if (const auto at = static_cast<std::ptrdiff_t>(n) - k; at >= 0 && at < std::ssize(in))
                sum += taps[static_cast<std::size_t>(k + kHalf)] * in[static_cast<std::size_t>(at)];
        out[n] = static_cast<float>(sum);
    }
    return out;
}

} // namespace

// A tone among noise and a weaker tone is found to a small fraction of a bin,
// with its amplitude; noise alone stands out of nothing.
TEST(SpectralLine, FindsTheStrongestToneNearAFrequencyAndItsAmplitude)
{
    std::mt19937 generator(45);
    std::normal_distribution<double> noise(0.0, 10.0);
    const double f = 0.0623456789;
    std::vector<float> signal(200000), noiseAlone(200000);
    for (std::size_t n = 0; n < signal.size(); ++n) {
        noiseAlone[n] = static_cast<float>(noise(generator));
        signal[n] = static_cast<float>(3.0 * std::cos(2 * kPi * f * static_cast<double>(n) + 1.0) +
                                       std::cos(2 * kPi * 0.0615 * static_cast<double>(n))) + noiseAlone[n];
    }
    const SpectralLine line = findSpectralLine(signal, 0.0625, 0.0025);
    EXPECT_NEAR(line.frequency, f, 1e-7); // a fiftieth of the bin of 200000 samples
    // 3 cos(w n + 1) has the mean 1.5 e^(i) of it times e^(-i w n).
    EXPECT_NEAR(std::abs(line.amplitude), 1.5, 0.05);
    EXPECT_NEAR(std::arg(line.amplitude), 1.0, 0.05);
    EXPECT_GT(line.prominence, 1000.0);
    EXPECT_LT(findSpectralLine(noiseAlone, 0.0625, 0.0025).prominence, 100.0);
    EXPECT_EQ(findSpectralLine(std::vector<float>(100, 1.0F), 0.0625, 0.0025).prominence, 0.0);
}

// The grid of a 160 x 120 transmission: the first rise from syncs ends line 0,
// after the leader of 13781 groups and the line's 160, so the first start
// marker is group 13941, its middle 13941.5 groups in (half a sample earlier
// when each sample is counted at its start);
// 361 lines rise into a marker (three passes of 121, 120 and 120 lines, the
// last into the closing group). Every group comes back as it was sent but the
// first ten, whose neighbours the equaliser lacks.
TEST(ToneReading, TheSyncsGiveTheGridAndEveryGroupComesBackOverEveryPathOfTheTone)
{
    // A channel delays the rises and rounds them, and may lose the last one into the closing group.
    const struct {
        const char* name;
        std::vector<float> recording;
        double hold, carrier;
        bool channel = false;
        const std::vector<std::uint8_t>& stream = sent();
        int firstLine = 0; // the line whose rise the grid starts from
        int levels = 0;    // how far a rebuilt sample may lie from the one sent
    } paths[] = {
        {"resampled to 44100", toneOnly(4.0, 0.0), 4.0, 0.0625},
        {"resampled to 48000", toneOnly(48000.0 / 11025, 0.0), 48000.0 / 11025, 11025.0 / 4 / 48000},
        {"sound card 0.1 % slow", toneOnly(4.004, 0.0), 4.004, 0.0625 / 1.001},
        {"mistuned by 50 Hz", toneOnly(4.0, 50.0 / 44100), 4.0, 0.0625 + 50.0 / 44100},
        {"voice channel, mistuned by -50 Hz", voiceChannel(toneOnly(4.0, -50.0 / 44100)), 4.0, 0.0625 - 50.0 / 44100,
         true},
        // The sender's channel from 300 to 2700 Hz (2750 for the tone moved after it) and the receiver's: the tone
        // lies 106 Hz past the edge, its steady level comes through at a fifteenth, its changes stronger. The grid
        // starts from the third line's rise; the weak tone leaves a sample in three hundred a level off.
        {"dark picture, 300-2700 Hz, mistuned by 50 Hz",
         voiceChannel(voiceChannel(toneOnly(4.0, 50.0 / 44100, sentDark()), 2750), 2700), 4.0,
         0.0625 + 50.0 / 44100, true, sentDark(), 2, 1}};
    for (const auto& path : paths) {
        SCOPED_TRACE(path.name);
        const double nominal[] = {std::round(path.hold * 1000) / 1000};
        const ToneReading tone(path.recording, nominal);
        ASSERT_TRUE(tone.found());
        EXPECT_NEAR(tone.carrier(), path.carrier, 1e-7);
        EXPECT_NEAR(tone.hold(), path.hold, 1e-5);
        EXPECT_EQ(tone.grid().groupsPerLine, 160);
        const int firstMarker = 13941 + 160 * path.firstLine;
        EXPECT_NEAR(tone.grid().lines, 361 - path.firstLine, path.channel ? 1 : 0);
        EXPECT_NEAR(tone.grid().firstMarker, (firstMarker + 0.5) * 4 * path.hold - 0.5,
                    path.channel ? 4 * path.hold : path.hold / 4);
        // The rebuild begins with the first group read whole; the last group's window may end a little after a
        // recording that ends with it.
        const RebuiltTransmission rebuilt = tone.rebuild();
        const auto from = static_cast<std::size_t>(firstMarker + rebuilt.groups.firstGroup);
        const auto expected = std::span(path.stream).subspan(4 * from);
        ASSERT_GE(rebuilt.samples.size() + 4, expected.size());
        std::size_t off = 0;
        for (std::size_t i = 40; i < std::min(rebuilt.samples.size(), expected.size()); ++i)
            off += std::abs(rebuilt.samples[i] - expected[i]) > path.levels;
        EXPECT_LE(off, expected.size() / 1000) << off << " samples off";
    }
}

// The front end rebuilds a recording of the tone alone, and says so: the
// groups of known level read steadier so than directly.
TEST(ReceivingFrontEnd, AToneAloneIsRebuiltAndSaidToBe)
{
    std::vector<std::uint8_t> data;
    for (const float s : toneOnly(4.0, 0.0)) {
        const auto value = static_cast<std::int16_t>(std::lround(s * 256.0F));
        data.insert(data.end(), {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
    }
    ConditionReport report;
    const std::vector<std::uint8_t> out =
        conditionRecording(testdata::wavBytes(1, 1, 44100, 16, data, static_cast<std::uint32_t>(data.size())), &report);
    EXPECT_EQ(describe(report), "WAV at 44100 Hz, bias 0 levels, rebuilt from the quarter-rate tone at 2756.2 Hz, "
                                "4.0000 samples per transmitted sample");
    ASSERT_EQ(out.size(), sent().size());
    EXPECT_TRUE(std::equal(out.begin() + 40, out.end(), sent().begin() + 40));
}
