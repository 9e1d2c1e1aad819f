// The recorder's command line and the file prepared before it starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "audio/recorder_arguments.h"
#include "audio/recording_file.h"
#include "audio/wav_header.h"
#include "common/file_error.h"
#include "support/test_data.h"

using namespace tonobild;

TEST(RecorderArguments, TheLastArgumentIsAlwaysTheFile)
{
    const auto record = parseRecorderArguments({"/tmp/TONOBILD.WAV"});
    ASSERT_TRUE(record.request);
    EXPECT_EQ(record.request->file, "/tmp/TONOBILD.WAV");
    EXPECT_FALSE(record.request->play);
    EXPECT_FALSE(record.request->close);

    const auto play = parseRecorderArguments({"/play", "/close", "/home/a b/x.wav"});
    ASSERT_TRUE(play.request);
    EXPECT_TRUE(play.request->play);
    EXPECT_TRUE(play.request->close);
    EXPECT_EQ(play.request->file, "/home/a b/x.wav");

    // A file named like a switch is still the file when it comes last.
    const auto named = parseRecorderArguments({"/play", "/close"});
    ASSERT_TRUE(named.request);
    EXPECT_TRUE(named.request->play);
    EXPECT_FALSE(named.request->close);
    EXPECT_EQ(named.request->file, "/close");
    EXPECT_EQ(parseRecorderArguments({"/play"}).request->file, "/play");
}

TEST(RecorderArguments, OnlyTheExactSwitchWordsAreSwitches)
{
    EXPECT_FALSE(parseRecorderArguments({}).request);
    EXPECT_FALSE(parseRecorderArguments({""}).request);
    for (const char* wrong : {"/PLAY", "/play ", "-play", "/c", "C:\\My"}) {
        const auto parsed = parseRecorderArguments({wrong, "file.wav"});
        EXPECT_FALSE(parsed.request) << wrong;
        EXPECT_NE(parsed.problem.find(wrong), std::string::npos) << parsed.problem;
    }
}

TEST(RecorderArguments, TheStationHandsTheFileAsOneArgument)
{
    EXPECT_EQ(recordArguments("/tmp/my file.wav"), (std::vector<std::string>{"/tmp/my file.wav"}));
    EXPECT_EQ(playArguments("/tmp/my file.wav"), (std::vector<std::string>{"/play", "/close", "/tmp/my file.wav"}));
    const auto back = parseRecorderArguments(playArguments("/play"));
    ASSERT_TRUE(back.request);
    EXPECT_EQ(back.request->file, "/play");
}

class PrepareRecordingFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("tonobild-prepare-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(PrepareRecordingFile, ANewFileHoldsExactlyTheHeader)
{
    const std::string path = (dir_ / "new.wav").string();
    prepareRecordingFile(path);
    const auto bytes = testdata::readBytes(path);
    const auto header = recordingHeader();
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(header.begin(), header.end()));
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 4, bytes.begin() + 8), (std::vector<std::uint8_t>{0x32, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 24, bytes.begin() + 28),
              (std::vector<std::uint8_t>{0x44, 0xAC, 0, 0}));
}

TEST_F(PrepareRecordingFile, AnExistingRecordingIsDiscarded)
{
    const std::string path = (dir_ / "old recording.wav").string();
    { std::ofstream(path, std::ios::binary) << std::string(1024 * 1024, '\x7f'); }
    prepareRecordingFile(path);
    const auto header = recordingHeader();
    EXPECT_EQ(testdata::readBytes(path), std::vector<std::uint8_t>(header.begin(), header.end()));
}

TEST_F(PrepareRecordingFile, AFileThatCannotBeCreatedIsReportedWithItsName)
{
    const std::string path = (dir_ / "no such folder" / "x.wav").string();
    try {
        prepareRecordingFile(path);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        EXPECT_FALSE(error.reason().empty());
    }
}
