// The recording file (prepared header, saved sizes) and reading PCM WAV files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "audio/recording_file.h"
#include "audio/wav_file.h"
#include "common/file_error.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

// A WAV image with an odd-sized chunk (and its pad byte) before "fmt ".
std::vector<std::uint8_t> wav(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              const std::vector<std::uint8_t>& data, std::uint32_t declaredDataSize)
{
    return testdata::wavBytes(tag, channels, rate, bits, data, declaredDataSize, true);
}

} // namespace

TEST(RecordingFile, PreparedFileIsExactlyThe58HeaderBytesWhateverItHeldBefore)
{
    const std::vector<std::uint8_t> expected = {
        0x52, 0x49, 0x46, 0x46, 0x32, 0x00, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6D, 0x74, 0x20,
        0x12, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x44, 0xAC, 0x00, 0x00,
        0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0x66, 0x61, 0x63, 0x74, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x64, 0x61, 0x74, 0x61, 0x00, 0x00, 0x00, 0x00};
    const auto dir = std::filesystem::temp_directory_path() / ("tonobild-prepare-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string fresh = (dir / "new.wav").string();
    const std::string old = (dir / "old recording.wav").string();
    { std::ofstream(old, std::ios::binary) << std::string(1024 * 1024, '\x7f'); }
    for (const std::string& path : {fresh, old}) {
        prepareRecordingFile(path);
        EXPECT_EQ(testdata::readBytes(path), expected) << path;
    }
    const std::string unreachable = (dir / "no such folder" / "x.wav").string();
    try {
        prepareRecordingFile(unreachable);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), unreachable);
    }
    std::filesystem::remove_all(dir);
}

TEST(ParseWav, ReadsPcmFormatsTakesTheDataTheHeaderAllowsAndRefusesTheRest)
{
    const WavAudio a = parseWav(wav(1, 2, 22050, 16, {1, 2, 3, 4, 5, 6, 7, 8}, 8));
    EXPECT_EQ(a.sampleRate, 22050u);
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.bitsPerSample, 16);
    using Bytes = std::vector<std::uint8_t>;
    // declared data size -> data: past the end or 0 takes the rest, shorter cuts, partial frames drop
    const std::vector<std::tuple<std::uint16_t, std::uint32_t, Bytes>> cases = {
        {1, 1000, {10, 20, 30}}, {1, 0, {10, 20, 30}}, {1, 2, {10, 20}}, {2, 3, {10, 20}}};
    for (const auto& [channels, declared, expected] : cases)
        EXPECT_EQ(parseWav(wav(1, channels, 8000, 8, {10, 20, 30}, declared)).data, expected) << declared;

    // Refused: too short, no RIFF, float, 24-bit, 6 channels, rate 0, no "data" chunk.
    auto noData = wav(1, 1, 8000, 8, {}, 0);
    noData.resize(noData.size() - 8);
    for (const auto& bytes : {std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}, std::vector<std::uint8_t>(100, 0x80),
                              wav(3, 1, 44100, 32, {0, 0, 0, 0}, 4), wav(1, 1, 44100, 24, {0, 0, 0}, 3),
                              wav(1, 6, 44100, 16, {0, 0}, 2), wav(1, 1, 0, 8, {0}, 1), noData})
        EXPECT_THROW(parseWav(bytes), WavFormatError) << bytes.size();
}
