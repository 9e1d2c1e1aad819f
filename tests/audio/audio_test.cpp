// The recording file (prepared header, saved sizes) and reading PCM WAV
// files; bringing files to the device rate by repeating samples, and turning
// what an input device delivers into 8-bit unsigned mono at 44100 per second;
// the recorder's command line, whose last argument is always the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <unistd.h>

#include "audio/recorder_arguments.h"
#include "audio/recording_file.h"
#include "audio/sample_conversion.h"
#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A WAV image with an odd-sized chunk (and its pad byte) before "fmt ".
std::vector<std::uint8_t> wav(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              const std::vector<std::uint8_t>& data, std::uint32_t declaredDataSize)
{ return testdata::wavBytes(tag, channels, rate, bits, data, declaredDataSize, true); }

std::vector<std::uint8_t> bytesOf(const auto& values)
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(values.data());
    return {first, first + values.size() * sizeof(values[0])};
}

} // namespace

TEST(RecordingFile, PreparedFileIsExactlyThe58HeaderBytesWhateverItHeldBeforeAndASavedOneIsPadded)
{
    // RIFF size 50, an 18-byte "fmt " of PCM mono 44100 8-bit, "fact" and "data" both 0.
    const char header[] = "RIFF\x32\0\0\0WAVEfmt \x12\0\0\0\x01\0\x01\0\x44\xAC\0\0\x44\xAC\0\0\x01\0\x08\0"
                          "\0\0fact\x04\0\0\0\0\0\0\0data\0\0\0\0";
    const auto dir = std::filesystem::temp_directory_path() / ("tonobild-prepare-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "old recording.wav", std::ios::binary) << std::string(1024 * 1024, '\x7f');
    for (const char* name : {"new.wav", "old recording.wav"}) {
        prepareRecordingFile((dir / name).string());
        EXPECT_EQ(testdata::readBytes((dir / name).string()), std::vector<std::uint8_t>(header, header + 58)) << name;
    }
    std::filesystem::remove_all(dir);
    // It reads back as a recording without samples: its "data" chunk header ends the file.
    EXPECT_TRUE(parseWav(std::vector<std::uint8_t>(header, header + 58)).data.empty());

    // A saved recording of three samples: a pad byte of silence, RIFF size 50 + 3 + 1,
    // "fact" and "data" 3.
    const char three[] = "RIFF\x36\0\0\0WAVEfmt \x12\0\0\0\x01\0\x01\0\x44\xAC\0\0\x44\xAC\0\0\x01\0\x08\0"
                         "\0\0fact\x04\0\0\0\x03\0\0\0data\x03\0\0\0\x01\x02\x03\x80";
    EXPECT_EQ(recordingFileBytes({1, 2, 3}), std::vector<std::uint8_t>(three, three + 62));
}

// A WAV file's sizes are 32 bits: 4294967251 sample bytes and the 44 header bytes fill them.
TEST(WavHeader, ATransmissionFitsAWavFileUpTo4294967251SampleBytes)
{
    EXPECT_EQ(std::pair(fitsPcmWav(4294967251u), fitsPcmWav(4294967252u)), std::pair(true, false));
}

TEST(ParseWav, ReadsPcmFormatsTakesTheDataTheHeaderAllowsAndRefusesTheRest)
{
    const WavAudio a = parseWav(wav(1, 2, 22050, 16, {1, 2, 3, 4, 5, 6, 7, 8}, 8));
    EXPECT_EQ(std::tuple(a.sampleRate, int{a.channels}, int{a.bitsPerSample}), std::tuple(22050u, 2, 16));
    EXPECT_EQ(parseWav(wav(1, 1, 0x01001F40, 8, {1}, 1)).sampleRate, 16785216u); // all four bytes of a field count
    // declared data size -> data: past the end or 0 takes the rest, shorter cuts, partial frames drop
    const std::vector<std::tuple<std::uint16_t, std::uint32_t, Bytes>> cases = {
        {1, 1000, {10, 20, 30}}, {1, 0, {10, 20, 30}}, {1, 2, {10, 20}}, {2, 3, {10, 20}}};
    for (const auto& [channels, declared, expected] : cases)
        EXPECT_EQ(parseWav(wav(1, channels, 8000, 8, {10, 20, 30}, declared)).data, expected) << declared;

    // Refused: too short, no RIFF, a RIFF file of another kind, float, 24-bit, 6 channels, rate 0,
    // no "data" chunk.
    auto noData = wav(1, 1, 8000, 8, {}, 0);
    noData.resize(noData.size() - 8);
    auto notWave = wav(1, 1, 8000, 8, {0}, 1);
    notWave[8] = 'X'; // "XAVE"
    for (const auto& bytes : {std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}, std::vector<std::uint8_t>(100, 0x80),
                              notWave, wav(3, 1, 44100, 32, {0, 0, 0, 0}, 4), wav(1, 1, 44100, 24, {0, 0, 0}, 3),
                              wav(1, 6, 44100, 16, {0, 0}, 2), wav(1, 1, 0, 8, {0}, 1), noData})
        EXPECT_THROW(parseWav(bytes), WavFormatError) << bytes.size();
    // A format chunk of 16 bytes that ends the file is whole; one cut to 10 bytes is not; samples
    // before the format chunk have no format to be read in; the 12 bytes of "RIFF" and "WAVE" alone
    // make a WAV file without chunks.
    Bytes dataFirst = noData;
    dataFirst.insert(dataFirst.begin() + 12, {'d', 'a', 't', 'a', 2, 0, 0, 0, 10, 20});
    for (const auto& [bytes, reason] : {std::pair{noData, "there is no data chunk"},
                                        {Bytes(noData.begin(), noData.end() - 6), "the format chunk is too short"},
                                        {dataFirst, "the data chunk comes before the format chunk"},
                                        {Bytes(noData.begin(), noData.begin() + 12), "there is no format chunk"}}) {
        try {
            parseWav(bytes);
            ADD_FAILURE() << "read: " << reason;
        } catch (const WavFormatError& error) {
            EXPECT_STREQ(error.what(), reason);
        }
    }
}

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

// What the station passes (recordArguments, playArguments) is in the launcher's tests.
TEST(RecorderArguments, ExactSwitchWordsBeforeTheFileAndTheLastArgumentAlwaysTheFile)
{
    // arguments -> file, play, close
    const std::tuple<std::vector<std::string>, std::string, bool, bool> cases[] = {
        {{"/tmp/TONOBILD.WAV"}, "/tmp/TONOBILD.WAV", false, false},
        {{"/play", "/close", "/home/a b/x.wav"}, "/home/a b/x.wav", true, true},
        {{"/play", "/close"}, "/close", true, false}, {{"/play"}, "/play", false, false}};
    for (const auto& [arguments, file, play, close] : cases) {
        const auto request = parseRecorderArguments(arguments).request;
        ASSERT_TRUE(request) << file;
        EXPECT_EQ(std::tuple(request->file, request->play, request->close), std::tuple(file, play, close));
    }
    // Only the exact switch words are switches.
    EXPECT_FALSE(parseRecorderArguments({}).request || parseRecorderArguments({""}).request);
    for (const char* wrong : {"/PLAY", "/play ", "-play", "/c", "C:\\My"}) {
        const auto p = parseRecorderArguments({wrong, "file.wav"});
        EXPECT_TRUE(!p.request && p.problem.find(wrong) != std::string::npos) << wrong << ": " << p.problem;
    }
}
