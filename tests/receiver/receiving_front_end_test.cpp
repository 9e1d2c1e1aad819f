// The receiving front end against what audio paths do to a transmission. The
// transmission is the reference stream of tests/data; every path that loses
// nothing (repeated samples, a bias in whole levels, a clock off by 0.1 %, a
// linear resampler to 48000) must give back exactly the samples that were sent.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/wav_file.h"
#include "receiver/receiving_front_end.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

const std::vector<std::uint8_t>& sent()
{
    static const std::vector<std::uint8_t> stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    return stream;
}

std::vector<std::uint8_t> repeated(const std::vector<std::uint8_t>& samples, int times)
{
    std::vector<std::uint8_t> out;
    for (const std::uint8_t s : samples)
        out.insert(out.end(), static_cast<std::size_t>(times), s);
    return out;
}

// A recording whose clock runs `ratio` times the sender's, each sent sample
// lasting `hold` recorded samples: recorded sample k is sent sample k / (hold * ratio).
std::vector<std::uint8_t> recordedAt(const std::vector<std::uint8_t>& samples, double hold, double ratio)
{
    std::vector<std::uint8_t> out;
    const double step = 1.0 / (hold * ratio);
    for (double at = 0; at < static_cast<double>(samples.size()); at += step)
        out.push_back(samples[static_cast<std::size_t>(at)]);
    return out;
}

// A linear resampler from one rate to another, as a sound server has it.
std::vector<std::uint8_t> resampledLinearly(const std::vector<std::uint8_t>& samples, double from, double to)
{
    std::vector<std::uint8_t> out;
    for (double at = 0; at + 1 < static_cast<double>(samples.size()); at += from / to) {
        const auto i = static_cast<std::size_t>(at);
        const double f = at - static_cast<double>(i);
        out.push_back(static_cast<std::uint8_t>(std::lround(samples[i] + f * (samples[i + 1] - samples[i]))));
    }
    return out;
}

std::vector<std::uint8_t> biased(std::vector<std::uint8_t> samples, int bias)
{
    for (std::uint8_t& s : samples)
        s = static_cast<std::uint8_t>(s + bias);
    return samples;
}

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 44-byte PCM WAV header and the frames.
std::vector<std::uint8_t> wav(const std::vector<std::uint8_t>& frames, std::uint32_t rate, int channels, int bits)
{
    std::vector<std::uint8_t> out{'R', 'I', 'F', 'F'};
    put(out, static_cast<std::uint32_t>(36 + frames.size()), 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, static_cast<std::uint32_t>(channels), 2);
    put(out, rate, 4);
    put(out, rate * static_cast<std::uint32_t>(channels * bits / 8), 4);
    put(out, static_cast<std::uint32_t>(channels * bits / 8), 2);
    put(out, static_cast<std::uint32_t>(bits), 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(out, static_cast<std::uint32_t>(frames.size()), 4);
    out.insert(out.end(), frames.begin(), frames.end());
    return out;
}

// 8-bit samples as 16-bit stereo frames, both channels the same: (s - 128) * 256.
std::vector<std::uint8_t> stereo16(const std::vector<std::uint8_t>& samples)
{
    std::vector<std::uint8_t> frames;
    for (const std::uint8_t s : samples) {
        const auto value = static_cast<std::uint16_t>((s - 128) * 256);
        for (int channel = 0; channel < 2; ++channel)
            put(frames, value, 2);
    }
    return frames;
}

} // namespace

TEST(ReceivingFrontEnd, TheSentStreamAndItsWavPassUnchanged)
{
    ConditionReport report;
    EXPECT_EQ(conditionRecording(sent(), &report), sent());
    EXPECT_FALSE(report.resampled);
    EXPECT_FALSE(report.wavHeader);
    EXPECT_EQ(report.dcOffset, 0);

    EXPECT_EQ(conditionRecording(wav(sent(), 11025, 1, 8), &report), sent()); // the header is not a sample
    EXPECT_TRUE(report.wavHeader);
    EXPECT_EQ(report.fileRate, 11025u);
    EXPECT_FALSE(report.resampled);
}

TEST(ReceivingFrontEnd, RepeatedSamplesComeBackAsSentWhateverTheFileFormat)
{
    ConditionReport report;
    EXPECT_EQ(conditionRecording(repeated(sent(), 4), &report), sent());
    EXPECT_TRUE(report.resampled);
    EXPECT_DOUBLE_EQ(report.samplesPerSymbol, 4.0);
    EXPECT_EQ(conditionRecording(repeated(sent(), 6), &report), sent());
    EXPECT_DOUBLE_EQ(report.samplesPerSymbol, 6.0);

    // The recorder's own file at 44100, and 16-bit stereo as other programs record.
    EXPECT_EQ(conditionRecording(recordingFileBytes(repeated(sent(), 4)), &report), sent());
    EXPECT_EQ(report.fileRate, 44100u);
    EXPECT_EQ(conditionRecording(wav(stereo16(repeated(sent(), 4)), 44100, 2, 16), &report), sent());
}

TEST(ReceivingFrontEnd, ABiasInWholeLevelsIsTakenOff)
{
    for (const int bias : {17, -20, 31, -31}) { // as far as the samples 31 and 224 stay within 0 to 255
        ConditionReport report;
        EXPECT_EQ(conditionRecording(biased(sent(), bias), &report), sent()) << bias;
        EXPECT_EQ(report.dcOffset, bias);
        EXPECT_EQ(conditionRecording(biased(repeated(sent(), 4), bias)), sent()) << bias;
    }
}

TEST(ReceivingFrontEnd, ARecordingJoinedInAHoldFindsTheHoldsCentres)
{
    // 4001 samples missing: the recording starts with the last three of sent sample 1000's hold.
    const std::vector<std::uint8_t> all = repeated(sent(), 4);
    const std::vector<std::uint8_t> late(all.begin() + 4001, all.end());
    EXPECT_EQ(conditionRecording(late), std::vector<std::uint8_t>(sent().begin() + 1000, sent().end()));
}

TEST(ReceivingFrontEnd, ADifferentClockOrRateStillFallsOnEveryHold)
{
    // A receiving sound card 0.1 % fast, and one 0.1 % slow: holds of 4 and now and then 5 (or 3).
    for (const double ratio : {1.001, 0.999}) {
        ConditionReport report;
        const std::vector<std::uint8_t> out = conditionRecording(recordedAt(sent(), 4.0, ratio), &report);
        EXPECT_NEAR(report.samplesPerSymbol, 4.0 * ratio, 0.0005) << ratio;
        ASSERT_GE(out.size() + 1, sent().size()) << ratio;
        const std::size_t common = std::min(out.size(), sent().size());
        EXPECT_TRUE(std::equal(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(common), sent().begin()))
            << ratio;
    }
}

TEST(ReceivingFrontEnd, ARecordingAtAnotherRateComesCloseToWhatWasSent)
{
    // 44100 as the player sends it, taken to 48000 by a straight-line resampler:
    // 4.354 samples a hold. (A sound server's band-limited resampler gives the
    // sent samples back exactly; the command-line tests show it with sox.)
    ConditionReport report;
    const std::vector<std::uint8_t> out = conditionRecording(resampledLinearly(repeated(sent(), 4), 44100, 48000), &report);
    EXPECT_NEAR(report.samplesPerSymbol, 48000.0 / 11025.0, 0.001);
    ASSERT_GE(out.size() + 2, sent().size());
    std::size_t within2 = 0;
    for (std::size_t i = 0; i < std::min(out.size(), sent().size()); ++i)
        within2 += std::abs(out[i] - sent()[i]) <= 2 ? 1 : 0;
    EXPECT_GE(within2, sent().size() * 99 / 100);
}

TEST(ReceivingFrontEnd, HoldLengthIsTheMeanDistanceOfCrossingsPastPausesAndNoise)
{
    // +20 three times, -20 three times: a crossing every 3 samples.
    std::vector<float> signal;
    for (int k = 0; k < 2000; ++k)
        for (const float level : {20.0F, 20.0F, 20.0F, -20.0F, -20.0F, -20.0F})
            signal.push_back(level);
    EXPECT_DOUBLE_EQ(measureHoldLength(signal), 3.0);

    // A pause of near-silence inside the margin changes nothing.
    signal.insert(signal.begin() + 600, 5000, 0.5F);
    EXPECT_DOUBLE_EQ(measureHoldLength(signal), 3.0);

    // Too few crossings: no signal.
    EXPECT_EQ(measureHoldLength(std::vector<float>(900, 20.0F)), 0.0);
    EXPECT_EQ(measureHoldLength({}), 0.0);
}

TEST(ReceivingFrontEnd, SilenceAndAnEmptyRecordingPassAsTheyAre)
{
    EXPECT_TRUE(conditionRecording({}).empty());
    const std::vector<std::uint8_t> silence(50000, 128);
    EXPECT_EQ(conditionRecording(silence), silence);
}
