// Bringing files to the device rate by repeating samples, and turning what an
// input device delivers into 8-bit unsigned mono at 44100 per second.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/sample_conversion.h"

using namespace tonobild;

namespace {

std::vector<std::uint8_t> bytesOf(const auto& values)
{
    std::vector<std::uint8_t> b(values.size() * sizeof(values[0]));
    std::memcpy(b.data(), values.data(), b.size());
    return b;
}

} // namespace

TEST(ChoosePlaybackRate, KeepsTheFileRateRepeatsUpToAMultipleOrRoundsAsALastResort)
{
    const std::vector<std::uint32_t> at44100 = {44100};
    const std::vector<std::uint32_t> at48000 = {48000};
    EXPECT_EQ(choosePlaybackRate(44100, at44100).deviceRate, 44100u);
    EXPECT_EQ(choosePlaybackRate(11025, at44100).deviceRate, 44100u);
    EXPECT_TRUE(choosePlaybackRate(11025, at44100).exactRepetition);
    EXPECT_EQ(choosePlaybackRate(8000, at48000).deviceRate, 48000u);
    EXPECT_TRUE(choosePlaybackRate(8000, at48000).exactRepetition);
    // 8000 does not divide 44100: the device rate, repeated by rounding.
    EXPECT_EQ(choosePlaybackRate(8000, at44100).deviceRate, 44100u);
    EXPECT_FALSE(choosePlaybackRate(8000, at44100).exactRepetition);
    // Several native rates: the file rate first, else the smallest whole multiple.
    const std::vector<std::uint32_t> several = {48000, 88200, 44100};
    EXPECT_EQ(choosePlaybackRate(44100, several).deviceRate, 44100u);
    EXPECT_EQ(choosePlaybackRate(11025, several).deviceRate, 44100u);
    EXPECT_EQ(choosePlaybackRate(16000, several).deviceRate, 48000u);
}

TEST(RepeatFrames, RepeatsEachFrameAWholeNumberOfTimesKeepingTheCyclesSquare)
{
    // A half-cycle one sample long at 11025 becomes four equal samples at 44100.
    const std::vector<std::int16_t> mono = {100, -100, 200};
    EXPECT_EQ(repeatFrames(mono, 1, 11025, 44100),
              (std::vector<std::int16_t>{100, 100, 100, 100, -100, -100, -100, -100, 200, 200, 200, 200}));
    const std::vector<std::int16_t> stereo = {1, 2, 3, 4};
    EXPECT_EQ(repeatFrames(stereo, 2, 8000, 48000).size(), 2u * 2u * 6u);
    EXPECT_EQ(repeatFrames(stereo, 2, 8000, 48000)[10], 1); // frame 5 is still the first frame
    EXPECT_EQ(repeatFrames(stereo, 2, 8000, 48000)[11], 2);
    EXPECT_EQ(repeatFrames(stereo, 2, 8000, 48000)[12], 3);
    EXPECT_EQ(repeatFrames(mono, 1, 44100, 44100), mono);
}

TEST(RepeatFrames, RoundedRepetitionKeepsEveryLevelAndTheLength)
{
    std::vector<std::int16_t> in(8000);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<std::int16_t>(i % 2 == 0 ? 1000 + i : -1000 - static_cast<int>(i));
    const auto out = repeatFrames(in, 1, 8000, 44100);
    EXPECT_EQ(out.size(), 44100u);
    // Every input sample appears, in order, 5 or 6 times, and nothing else appears.
    std::size_t at = 0;
    for (const std::int16_t v : in) {
        std::size_t run = 0;
        while (at < out.size() && out[at] == v) {
            ++at;
            ++run;
        }
        ASSERT_TRUE(run == 5 || run == 6) << "sample " << v << " repeated " << run << " times";
    }
    EXPECT_EQ(at, out.size());
}

TEST(ToInt16, EightBitSamplesAreCentredAndSixteenBitSamplesReadLittleEndian)
{
    WavAudio eight;
    eight.channels = 1;
    eight.bitsPerSample = 8;
    eight.data = {0, 128, 255};
    EXPECT_EQ(toInt16(eight), (std::vector<std::int16_t>{-32768, 0, 32512}));
    WavAudio sixteen;
    sixteen.channels = 2;
    sixteen.bitsPerSample = 16;
    sixteen.data = {0x34, 0x12, 0x00, 0x80};
    EXPECT_EQ(toInt16(sixteen), (std::vector<std::int16_t>{0x1234, -32768}));
}

TEST(CaptureConverter, EightBitSamplesComeBackExactlyFromEveryDeviceFormat)
{
    // What the player hands the device (8-bit samples as 16-bit) and what a
    // server makes of it (float, 32-bit, 8-bit) all come back as the same bytes.
    std::vector<std::uint8_t> original;
    for (int s = 0; s < 256; ++s)
        original.push_back(static_cast<std::uint8_t>(s));
    std::vector<std::int16_t> asInt16;
    std::vector<std::int32_t> asInt32;
    std::vector<float> asFloat;
    for (const std::uint8_t s : original) {
        asInt16.push_back(static_cast<std::int16_t>((s - 128) * 256));
        asInt32.push_back((s - 128) * 16777216);
        asFloat.push_back(static_cast<float>(s - 128) / 128.0f);
    }
    const auto run = [](DeviceSampleFormat format, const std::vector<std::uint8_t>& bytes) {
        CaptureConverter converter(format, 1, 44100);
        std::vector<std::uint8_t> out;
        converter.convert(bytes, out);
        return out;
    };
    EXPECT_EQ(run(DeviceSampleFormat::Int16, bytesOf(asInt16)), original);
    EXPECT_EQ(run(DeviceSampleFormat::Int32, bytesOf(asInt32)), original);
    EXPECT_EQ(run(DeviceSampleFormat::Float, bytesOf(asFloat)), original);
    EXPECT_EQ(run(DeviceSampleFormat::UInt8, original), original);
}

TEST(CaptureConverter, AveragesChannelsAndKeepsFramesSplitAcrossChunks)
{
    // Stereo 16-bit: (l + r) / 2. Chunks cut in the middle of a sample.
    const std::vector<std::int16_t> frames = {256 * 10, 256 * 30, -256 * 64, -256 * 64, 32767, 32767};
    const auto bytes = bytesOf(frames);
    CaptureConverter converter(DeviceSampleFormat::Int16, 2, 44100);
    std::vector<std::uint8_t> out;
    converter.convert({bytes.data(), 3}, out);
    EXPECT_TRUE(out.empty());
    converter.convert({bytes.data() + 3, 6}, out); // two whole frames and one byte of the third
    EXPECT_EQ(out, (std::vector<std::uint8_t>{148, 64}));
    converter.convert({bytes.data() + 9, bytes.size() - 9}, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{148, 64, 255}));
}

TEST(CaptureConverter, OtherDeviceRatesComeOutAt44100)
{
    for (const std::uint32_t rate : {48000u, 22050u, 8000u}) {
        CaptureConverter converter(DeviceSampleFormat::UInt8, 1, rate);
        std::vector<std::uint8_t> out;
        // One second in uneven chunks, counting up so that the order shows.
        std::vector<std::uint8_t> second(rate);
        for (std::size_t i = 0; i < second.size(); ++i)
            second[i] = static_cast<std::uint8_t>(i * 256 / rate);
        for (std::size_t at = 0; at < second.size(); at += 777)
            converter.convert({second.data() + at, std::min<std::size_t>(777, second.size() - at)}, out);
        EXPECT_EQ(out.size(), 44100u) << rate;
        EXPECT_TRUE(std::is_sorted(out.begin(), out.end())) << rate;
        EXPECT_EQ(out.front(), 0) << rate;
        EXPECT_EQ(out.back(), 255) << rate;
    }
}

TEST(SampleLevels, ConversionRoundsAndClampsAndThePeakIsTheDistanceFromTheMiddle)
{
    EXPECT_EQ(toUnsigned8(0.0), 128);
    EXPECT_EQ(toUnsigned8(-1.0), 0);
    EXPECT_EQ(toUnsigned8(1.0), 255);
    EXPECT_EQ(toUnsigned8(-3.0), 0);
    EXPECT_EQ(toUnsigned8(0.5 / 128.0), 128);  // 128.5 goes to the even neighbour
    EXPECT_EQ(toUnsigned8(1.5 / 128.0), 130);  // 129.5 likewise
    EXPECT_EQ(peakLevel(std::vector<std::uint8_t>{128, 130, 100, 129}), 28);
    EXPECT_EQ(peakLevel(std::vector<std::uint8_t>{0}), 128);
    EXPECT_EQ(peakLevel(std::vector<std::uint8_t>{}), 0);
}
