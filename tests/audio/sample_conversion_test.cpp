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

TEST(Playback, RateIsTheFileRateElseTheSmallestMultipleElseRoundedRepetition)
{
    struct Case {
        std::uint32_t file;
        std::vector<std::uint32_t> native;
        std::uint32_t device;
        bool exact;
    };
    const std::vector<std::uint32_t> several = {48000, 88200, 44100};
    for (const Case& c : std::vector<Case>{{44100, {44100}, 44100, true}, {11025, {44100}, 44100, true},
                                           {8000, {48000}, 48000, true}, {8000, {44100}, 44100, false},
                                           {44100, several, 44100, true}, {16000, several, 48000, true}}) {
        const PlaybackRate rate = choosePlaybackRate(c.file, c.native);
        EXPECT_EQ(rate.deviceRate, c.device) << c.file << " on " << c.native.front();
        EXPECT_EQ(rate.exactRepetition, c.exact) << c.file << " on " << c.native.front();
    }
}

TEST(Playback, EachFrameIsRepeatedAWholeNumberOfTimes)
{
    const std::vector<std::int16_t> mono = {100, -100, 200};
    EXPECT_EQ(repeatFrames(mono, 1, 11025, 44100),
              (std::vector<std::int16_t>{100, 100, 100, 100, -100, -100, -100, -100, 200, 200, 200, 200}));
    const std::vector<std::int16_t> stereo = {1, 2, 3, 4};
    EXPECT_EQ(repeatFrames(stereo, 2, 8000, 48000),
              (std::vector<std::int16_t>{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4}));
}

TEST(CaptureConverter, EightBitSamplesComeBackExactlyFromEveryDeviceFormat)
{
    std::vector<std::uint8_t> original;
    std::vector<std::int16_t> asInt16;
    std::vector<std::int32_t> asInt32;
    std::vector<float> asFloat;
    for (int s = 0; s < 256; ++s) {
        original.push_back(static_cast<std::uint8_t>(s));
        asInt16.push_back(static_cast<std::int16_t>((s - 128) * 256));
        asInt32.push_back((s - 128) * 16777216);
        asFloat.push_back(static_cast<float>(s - 128) / 128.0f);
    }
    for (const auto& [format, bytes] : {std::pair{DeviceSampleFormat::Int16, bytesOf(asInt16)},
                                        std::pair{DeviceSampleFormat::Int32, bytesOf(asInt32)},
                                        std::pair{DeviceSampleFormat::Float, bytesOf(asFloat)},
                                        std::pair{DeviceSampleFormat::UInt8, original}}) {
        CaptureConverter converter(format, 1, 44100);
        std::vector<std::uint8_t> out;
        converter.convert(bytes, out);
        EXPECT_EQ(out, original) << static_cast<int>(format);
    }
}

TEST(CaptureConverter, AveragesChannelsAndKeepsFramesSplitAcrossChunks)
{
    const auto bytes = bytesOf(std::vector<std::int16_t>{256 * 10, 256 * 30, -256 * 64, -256 * 64, 32767, 32767});
    CaptureConverter stereo(DeviceSampleFormat::Int16, 2, 44100);
    std::vector<std::uint8_t> out;
    stereo.convert({bytes.data(), 3}, out);
    EXPECT_TRUE(out.empty());
    stereo.convert({bytes.data() + 3, 6}, out); // two whole frames and one byte of the third
    EXPECT_EQ(out, (std::vector<std::uint8_t>{148, 64}));
    stereo.convert({bytes.data() + 9, bytes.size() - 9}, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{148, 64, 255}));
}
