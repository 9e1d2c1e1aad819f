// The transmission files: the RAW name, the WAV header, and files replaced only when the encode completes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "common/file_error.h"
#include "encoder/transmission_files.h"
#include "support/test_data.h"

using namespace tonobild;
namespace fs = std::filesystem;

namespace {

class TransmissionFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tonobild-files-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        fs::remove_all(folder);
    }
    fs::path folder;
};

} // namespace

TEST(RawFileName, ReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(rawFileNameFor("/home/op/TONOBILD.WAV"), "/home/op/TONOBILD.RAW");
    EXPECT_EQ(rawFileNameFor("/tmp/x.wave"), "/tmp/x.wRAW");
    EXPECT_EQ(rawFileNameFor("/tmp/bild-äöü"), "/tmp/bild-RAW"); // characters, not bytes
    EXPECT_EQ(rawFileNameFor("ab"), "");
    for (const char* bad : {"ab", "/tmp/x.RAW", "/home/op/ab", "/home/op/"}) // /home/op/ab would write /home/opRAW
        EXPECT_FALSE(audioFileNameProblem(bad).empty()) << bad;
    EXPECT_TRUE(audioFileNameProblem("/tmp/x.wav").empty());
}

TEST_F(TransmissionFilesTest, WritesRawAndWavWithACompleteHeader)
{
    const std::string wav = (folder / "t.wav").string();
    TransmissionFiles files(wav, 8000);
    files.open();
    const std::vector<std::uint8_t> samples = {160, 95, 224, 31, 200, 55, 224, 31};
    files.write(samples.data(), samples.size());
    files.commit();

    EXPECT_EQ(testdata::readBytes((folder / "t.RAW").string()), samples);
    const auto bytes = testdata::readBytes(wav);
    ASSERT_EQ(bytes.size(), 44u + samples.size());
    // RIFF size, fmt size, PCM, mono, rate, byte rate, block align, 8 bits, data size; then the samples.
    const auto text = [&](std::size_t from, std::size_t to) { return std::string(bytes.begin() + from, bytes.begin() + to); };
    EXPECT_EQ(text(0, 4) + text(8, 16) + text(36, 40), "RIFFWAVEfmt data");
    const auto le = [&](std::size_t at, int size) { return testdata::littleEndian(bytes, at, size); };
    EXPECT_EQ((std::vector<std::uint32_t>{le(4, 4), le(16, 4), le(20, 2), le(22, 2), le(24, 4), le(28, 4), le(32, 2),
                                          le(34, 2), le(40, 4)}),
              (std::vector<std::uint32_t>{36 + 8, 16, 1, 1, 8000, 8000, 1, 8, 8}));
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), bytes.begin() + 44));
}

TEST_F(TransmissionFilesTest, AMissingFolderIsReportedWithPathAndReason)
{
    TransmissionFiles files((folder / "no-such-folder" / "t.wav").string(), 11025);
    try {
        files.open();
        FAIL() << "open succeeded in a missing folder";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("no-such-folder/t.RAW"), std::string::npos);
        EXPECT_EQ(error.reason(), "No such file or directory");
    }
}

// Both files are replaced or neither: a WAV name that cannot be replaced keeps the old RAW, and
// a RAW name that cannot be replaced keeps the old WAV.
TEST_F(TransmissionFilesTest, AFileThatCannotBeReplacedKeepsBothOldFiles)
{
    const auto text = [](const fs::path& path) { return testdata::readText(path.string()); };
    const auto commitSamples = [](const fs::path& wav) {
        TransmissionFiles files(wav.string(), 11025);
        files.open();
        const std::uint8_t samples[4] = {160, 95, 224, 31};
        files.write(samples, 4);
        files.commit();
    };
    fs::create_directory(folder / "a.wav");
    std::ofstream(folder / "a.RAW") << "old raw";
    fs::create_directory(folder / "b.RAW");
    std::ofstream(folder / "b.wav") << "old wav";
    fs::create_directory(folder / "c.wav"); // no old RAW: none may appear

    for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
        try {
            commitSamples(folder / name);
            ADD_FAILURE() << name << ": the commit succeeded";
        } catch (const FileError& error) {
            EXPECT_EQ(error.action(), "Cannot replace") << name;
            EXPECT_EQ(error.reason(), "Is a directory") << name;
        }
    }
    EXPECT_EQ(text(folder / "a.RAW"), "old raw");
    EXPECT_EQ(text(folder / "b.wav"), "old wav");
    EXPECT_FALSE(fs::exists(folder / "c.RAW"));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a.RAW", "a.wav", "b.RAW", "b.wav", "c.wav"}));

    // With nothing in the way the old pair is replaced and nothing is left beside it.
    fs::remove(folder / "a.wav");
    std::ofstream(folder / "a.wav") << "old wav";
    commitSamples(folder / "a.wav");
    EXPECT_EQ(testdata::readBytes((folder / "a.RAW").string()), (std::vector<std::uint8_t>{160, 95, 224, 31}));
    EXPECT_EQ(testdata::readBytes((folder / "a.wav").string()).size(), 48u);
    EXPECT_FALSE(fs::exists(folder / "a.RAW.old"));
}

TEST(PlayerWav, NameFollowsTheAudioFile)
{
    EXPECT_EQ(playerWavNameFor("/home/op/TONOBILD.WAV"), "/home/op/TONOBILD-player.WAV");
    EXPECT_EQ(playerWavNameFor("/tmp/a.b/picture"), "/tmp/a.b/picture-player"); // a dot in a folder is no extension
    EXPECT_EQ(playerWavNameFor("/tmp/.wav"), "/tmp/.wav-player");
}

TEST_F(TransmissionFilesTest, ThePlayerWavHoldsEachSampleAtTheDevicesRate)
{
    for (const auto& [rate, playerRate, hold] : {std::tuple{11025u, 44100u, 4}, std::tuple{8000u, 48000u, 6}}) {
        const std::string wav = (folder / "t.wav").string();
        TransmissionFiles files(wav, rate, TransmissionFiles::PlayerWav::With);
        EXPECT_EQ(files.playerPath(), (folder / "t-player.wav").string());
        files.open();
        const std::vector<std::uint8_t> first = {160, 95, 224};
        const std::vector<std::uint8_t> second = {31};
        files.write(first.data(), first.size());
        files.write(second.data(), second.size());
        files.commit();

        const auto bytes = testdata::readBytes(files.playerPath());
        ASSERT_EQ(bytes.size(), 44u + 4u * static_cast<std::size_t>(hold)) << rate;
        EXPECT_EQ(testdata::littleEndian(bytes, 24), playerRate);                      // sample rate
        EXPECT_EQ(testdata::littleEndian(bytes, 40), 4u * static_cast<std::uint32_t>(hold)); // data size
        const std::vector<std::uint8_t> expected = testdata::held({160, 95, 224, 31}, hold);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 44)) << rate;
        EXPECT_EQ(testdata::readBytes((folder / "t.RAW").string()), (std::vector<std::uint8_t>{160, 95, 224, 31}));
    }
}

// Abandoned, or left without a commit as when the window closes mid-encode: the
// previous files stay whole and neither a RAW, a player WAV nor a temporary appears.
TEST_F(TransmissionFilesTest, AnAbandonedWriteLeavesThePreviousFilesWhole)
{
    const std::string wav = (folder / "t.wav").string();
    for (const bool explicitly : {false, true}) {
        std::ofstream(wav) << "previous good recording";
        {
            TransmissionFiles files(wav, 11025, TransmissionFiles::PlayerWav::With);
            files.open();
            const std::uint8_t samples[4] = {1, 2, 3, 4};
            files.write(samples, 4);
            if (explicitly)
                files.abandon();
        }
        EXPECT_EQ(testdata::readText(wav), "previous good recording") << explicitly;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << explicitly;
    }
}
