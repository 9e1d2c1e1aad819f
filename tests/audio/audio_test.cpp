// Bringing files to the device rate by repeating samples, and turning what an
// input device delivers into 8-bit unsigned mono at 44100 per second.
#include <gtest/gtest.h>

#include <tuple>

#include "audio/sample_conversion.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::uint8_t> bytesOf(const auto& values)
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(values.data());
    return {first, first + values.size() * sizeof(values[0])};
}

} // namespace

TEST(Playback, RateIsTheFileRateElseTheSmallestMultipleElseRoundedRepetitionOfWholeFrames)
{
    // file rate, the device's native rates -> device rate, whole repetition; the last row a header
    // without a rate, for which no multiple is looked for
    const std::tuple<std::uint32_t, std::vector<std::uint32_t>, std::uint32_t, bool> cases[] = {
        {44100, {44100}, 44100, true}, {11025, {44100}, 44100, true}, {8000, {48000}, 48000, true},
        {8000, {44100}, 44100, false}, {44100, {48000, 88200, 44100}, 44100, true},
        {16000, {48000, 88200, 44100}, 48000, true}, {0, {44100}, 0, true}};
    for (const auto& [file, native, device, exact] : cases) {
        const PlaybackRate rate = choosePlaybackRate(file, native);
        EXPECT_EQ(std::pair(rate.deviceRate, rate.exactRepetition), std::pair(device, exact)) << file << " on " << native[0];
    }
    // Each frame is repeated a whole number of times.
    using Samples = std::vector<std::int16_t>;
    EXPECT_EQ(repeatFrames(Samples{100, -100, 200}, 1, 11025, 44100),
              (Samples{100, 100, 100, 100, -100, -100, -100, -100, 200, 200, 200, 200}));
    EXPECT_EQ(repeatFrames(Samples{1, 2, 3, 4}, 2, 8000, 48000),
              (Samples{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4}));
}

TEST(CaptureConverter, EightBitSamplesComeBackExactlyFromEveryFormatChannelsAverageAndSplitFramesWait)
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
    using enum DeviceSampleFormat;
    for (const auto& [format, bytes] : {std::pair{Int16, bytesOf(asInt16)}, {Int32, bytesOf(asInt32)},
                                        {Float, bytesOf(asFloat)}, {UInt8, original}}) {
        CaptureConverter converter(format, 1, 44100);
        std::vector<std::uint8_t> out;
        converter.convert(bytes, out);
        EXPECT_EQ(out, original) << static_cast<int>(format);
    }

    // Channels are averaged and a frame split across chunks is kept.
    const auto bytes = bytesOf(std::vector<std::int16_t>{256 * 10, 256 * 30, -256 * 64, -256 * 64, 32767, 32767});
    CaptureConverter stereo(DeviceSampleFormat::Int16, 2, 44100);
    std::vector<std::uint8_t> out;
    // Bytes from, how many -> all converted so far; the second chunk two whole frames and one byte of the third.
    for (const auto& [from, count, expected] :
         {std::tuple{0, 3, Bytes{}}, {3, 6, Bytes{148, 64}}, {9, 3, Bytes{148, 64, 255}}}) {
        stereo.convert({bytes.data() + from, std::size_t(count)}, out);
        EXPECT_EQ(out, expected) << from;
    }
}
