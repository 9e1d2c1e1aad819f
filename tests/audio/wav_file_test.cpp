// Reading PCM WAV files for playing, and the recording file as it is saved.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "common/file_error.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void put16(std::vector<std::uint8_t>& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    put16(b, static_cast<std::uint16_t>(v));
    put16(b, static_cast<std::uint16_t>(v >> 16));
}

void putId(std::vector<std::uint8_t>& b, const char* id)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(id[i]));
}

// A WAV image with an optional chunk before "fmt " and one after it.
std::vector<std::uint8_t> wav(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              const std::vector<std::uint8_t>& data, std::uint32_t declaredDataSize)
{
    std::vector<std::uint8_t> b;
    putId(b, "RIFF");
    put32(b, 0);
    putId(b, "WAVE");
    putId(b, "LIST"); // a chunk the player does not need, with an odd size and its pad byte
    put32(b, 3);
    b.insert(b.end(), {'a', 'b', 'c', 0});
    putId(b, "fmt ");
    put32(b, 16);
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * channels * bits / 8);
    put16(b, static_cast<std::uint16_t>(channels * bits / 8));
    put16(b, bits);
    putId(b, "data");
    put32(b, declaredDataSize);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

} // namespace

TEST(ParseWav, ReadsTheFormatAndTheDataOfPcmFiles)
{
    const std::vector<std::uint8_t> stereo16 = {1, 2, 3, 4, 5, 6, 7, 8};
    const WavAudio a = parseWav(wav(1, 2, 22050, 16, stereo16, 8));
    EXPECT_EQ(a.sampleRate, 22050u);
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.bitsPerSample, 16);
    EXPECT_EQ(a.data, stereo16);
    EXPECT_EQ(a.frameCount(), 2u);

    // A data size that runs past the end, or 0 (never filled in), takes the rest.
    EXPECT_EQ(parseWav(wav(1, 1, 8000, 8, {10, 20, 30}, 1000)).data, (std::vector<std::uint8_t>{10, 20, 30}));
    EXPECT_EQ(parseWav(wav(1, 1, 8000, 8, {10, 20, 30}, 0)).data, (std::vector<std::uint8_t>{10, 20, 30}));
    // A declared size shorter than the file leaves the bytes after the chunk out.
    EXPECT_EQ(parseWav(wav(1, 1, 8000, 8, {10, 20, 30}, 2)).data, (std::vector<std::uint8_t>{10, 20}));
    // A partial frame at the end is dropped.
    EXPECT_EQ(parseWav(wav(1, 2, 8000, 16, {1, 2, 3, 4, 5}, 5)).data.size(), 4u);
}

TEST(ParseWav, ReadsTheRecordingFileItSaves)
{
    const WavAudio a = parseWav(recordingFileBytes({100, 150, 200}));
    EXPECT_EQ(a.sampleRate, 44100u);
    EXPECT_EQ(a.channels, 1);
    EXPECT_EQ(a.bitsPerSample, 8);
    EXPECT_EQ(a.data, (std::vector<std::uint8_t>{100, 150, 200})); // the pad byte is not a sample
    const auto header = recordingHeader();
    EXPECT_TRUE(parseWav({header.begin(), header.end()}).data.empty());
}

TEST(ParseWav, RefusesWhatItCannotPlay)
{
    EXPECT_THROW(parseWav({'R', 'I', 'F', 'F'}), WavFormatError);
    EXPECT_THROW(parseWav(std::vector<std::uint8_t>(100, 0x80)), WavFormatError);
    EXPECT_THROW(parseWav(wav(3, 1, 44100, 32, {0, 0, 0, 0}, 4)), WavFormatError);  // float
    EXPECT_THROW(parseWav(wav(1, 1, 44100, 24, {0, 0, 0}, 3)), WavFormatError);     // 24-bit
    EXPECT_THROW(parseWav(wav(1, 6, 44100, 16, {0, 0}, 2)), WavFormatError);        // 6 channels
    EXPECT_THROW(parseWav(wav(1, 1, 0, 8, {0}, 1)), WavFormatError);                // rate 0
    auto noData = wav(1, 1, 8000, 8, {}, 0);
    noData.resize(noData.size() - 8); // cut the "data" chunk header off
    EXPECT_THROW(parseWav(noData), WavFormatError);
}

TEST(ReadWavFile, NamesTheFileThatCannotBeRead)
{
    try {
        readWavFile("/nonexistent-folder/x.wav");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), "/nonexistent-folder/x.wav");
        EXPECT_FALSE(error.reason().empty());
    }
}

TEST(RecordingFile, SizesAreSetForTheSamples)
{
    std::vector<std::uint8_t> samples(1001);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::uint8_t> bytes = recordingFileBytes(samples);
    ASSERT_EQ(bytes.size(), 58u + 1001u + 1u); // odd count: one pad byte
    EXPECT_EQ(u32(bytes, 4), bytes.size() - 8); // RIFF size: everything after the field
    EXPECT_EQ(u32(bytes, 46), 1001u);           // "fact": samples
    EXPECT_EQ(u32(bytes, 54), 1001u);           // "data": size, without the pad byte
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), bytes.begin() + 58));
    // Everything else is the prepared header as it was.
    const auto header = recordingHeader();
    for (std::size_t i = 0; i < header.size(); ++i) {
        if ((i < 4 || i >= 8) && (i < 46 || i >= 50) && i < 54) {
            EXPECT_EQ(bytes[i], header[i]) << "byte " << i;
        }
    }

    const std::vector<std::uint8_t> even = recordingFileBytes({1, 2});
    EXPECT_EQ(even.size(), 60u);
    EXPECT_EQ(u32(even, 4), 52u);
}

TEST(RecordingFile, WriteReplacesTheFileAndLeavesItWholeOnFailure)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tonobild-recfile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "rec.wav").string();
    { std::ofstream(path, std::ios::binary) << std::string(5000, 'x'); }
    writeRecordingFile(path, {1, 2, 3, 4});
    EXPECT_EQ(testdata::readBytes(path), recordingFileBytes({1, 2, 3, 4}));
    EXPECT_THROW(writeRecordingFile((dir / "missing" / "rec.wav").string(), {1}), FileError);
    std::filesystem::remove_all(dir);
}
