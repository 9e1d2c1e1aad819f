#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    fs::path folder;
};

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

} // namespace

TEST(RawFileName, ReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(rawFileNameFor("/home/op/TONOBILD.WAV"), "/home/op/TONOBILD.RAW");
    EXPECT_EQ(rawFileNameFor("/tmp/x.wave"), "/tmp/x.wRAW");
    EXPECT_EQ(rawFileNameFor("/tmp/bild-äöü"), "/tmp/bild-RAW"); // characters, not bytes
    EXPECT_EQ(rawFileNameFor("ab"), "");
    EXPECT_FALSE(audioFileNameProblem("ab").empty());
    EXPECT_FALSE(audioFileNameProblem("/tmp/x.RAW").empty());
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
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le32(bytes, 4), 36u + 8u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(bytes, 16), 16u);
    EXPECT_EQ(bytes[20] | (bytes[21] << 8), 1);  // PCM
    EXPECT_EQ(bytes[22] | (bytes[23] << 8), 1);  // mono
    EXPECT_EQ(le32(bytes, 24), 8000u);
    EXPECT_EQ(le32(bytes, 28), 8000u);
    EXPECT_EQ(bytes[32] | (bytes[33] << 8), 1);
    EXPECT_EQ(bytes[34] | (bytes[35] << 8), 8);
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(le32(bytes, 40), 8u);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), bytes.begin() + 44));
}

TEST_F(TransmissionFilesTest, AnAbandonedWriteLeavesThePreviousFilesWhole)
{
    const std::string wav = (folder / "t.wav").string();
    std::ofstream(wav) << "previous good recording";
    {
        TransmissionFiles files(wav, 11025);
        files.open();
        const std::uint8_t samples[4] = {1, 2, 3, 4};
        files.write(samples, 4);
        // going out of scope without commit, as when the window closes mid-encode
    }
    const auto bytes = testdata::readBytes(wav);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "previous good recording");
    EXPECT_FALSE(fs::exists(folder / "t.RAW"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(TransmissionFilesTest, AnUnwritableFolderIsReportedWithPathAndReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    TransmissionFiles files((folder / "t.wav").string(), 11025);
    try {
        files.open();
        FAIL() << "open succeeded in a read-only folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), (folder / "t.RAW").string());
        EXPECT_FALSE(error.reason().empty());
    }
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
