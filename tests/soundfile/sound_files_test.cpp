// The recording file (prepared header, saved sizes) and reading PCM WAV files.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <unistd.h>

#include "soundfile/recording_file.h"
#include "soundfile/wav_file.h"
#include "soundfile/wav_header.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A WAV image with an odd-sized chunk (and its pad byte) before "fmt ".
std::vector<std::uint8_t> wav(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              const std::vector<std::uint8_t>& data, std::uint32_t declaredDataSize)
{ return testdata::wavBytes(tag, channels, rate, bits, data, declaredDataSize, true); }

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
