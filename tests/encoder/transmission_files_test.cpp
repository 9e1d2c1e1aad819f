// The transmission files: the RAW and player WAV names, the WAV headers, and
// files replaced only when the encode completes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "common/file_error.h"
#include "encoder/transmission_files.h"
#include "support/test_data.h"

using namespace tonobild;
namespace fs = std::filesystem;

namespace {

struct TransmissionFilesTest : ::testing::Test {
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
    const fs::path folder = fs::temp_directory_path() / ("tonobild-files-" + std::to_string(::getpid()));
};

const std::vector<std::uint8_t> kSamples = {160, 95, 224, 31};

// Opens, writes kSamples in two parts and commits.
void commitSamples(TransmissionFiles&& files)
{
    files.open();
    files.write(kSamples.data(), 3);
    files.write(kSamples.data() + 3, 1);
    files.commit();
}

} // namespace

TEST(TransmissionFileNames, RawNameReplacesTheLastThreeCharactersAndPlayerWavGoesBeforeTheExtension)
{
    // Characters, not bytes, are replaced; a name of two has nothing to replace.
    for (const auto& [wav, raw] : {std::pair{"/home/op/TONOBILD.WAV", "/home/op/TONOBILD.RAW"},
                                   {"/tmp/x.wave", "/tmp/x.wRAW"}, {"/tmp/bild-äöü", "/tmp/bild-RAW"}, {"ab", ""},
                                   {"abc", "RAW"}, {"äbc", "RAW"}})
        EXPECT_EQ(rawFileNameFor(wav), raw) << wav;
    // Refused or not; /home/op/ab would write /home/opRAW.
    for (const auto& [name, refused] : {std::pair{"ab", true}, {"/tmp/x.RAW", true}, {"/home/op/ab", true},
                                        {"/home/op/", true}, {"/tmp/x.wav", false}, {"/home/op/abc", false}})
        EXPECT_EQ(audioFileNameProblem(name).empty(), !refused) << name;
    // A dot in a folder is no extension.
    for (const auto& [wav, player] : {std::pair{"/home/op/TONOBILD.WAV", "/home/op/TONOBILD-player.WAV"},
                                      {"/tmp/a.b/picture", "/tmp/a.b/picture-player"}, {"/tmp/.wav", "/tmp/.wav-player"}})
        EXPECT_EQ(playerWavNameFor(wav), player) << wav;
}

// The RAW holds the samples, the WAV the samples behind a complete header, and
// the player WAV each sample held at the device's rate.
TEST_F(TransmissionFilesTest, WritesRawWavAndPlayerWavWithCompleteHeaders)
{
    for (const auto& [rate, playerRate, hold] : {std::tuple{11025u, 44100u, 4u}, std::tuple{8000u, 48000u, 6u}}) {
        const std::string wav = (folder / "t.wav").string();
        TransmissionFiles files(wav, rate, TransmissionFiles::PlayerWav::With);
        const std::string player = files.playerPath();
        EXPECT_EQ(player, (folder / "t-player.wav").string());
        commitSamples(std::move(files));
        EXPECT_EQ(testdata::readBytes((folder / "t.RAW").string()), kSamples);
        for (const auto& [path, fileRate, samples] : {std::tuple{wav, rate, kSamples},
                                                      std::tuple{player, playerRate, testdata::held(kSamples, int(hold))}}) {
            const auto bytes = testdata::readBytes(path);
            ASSERT_EQ(bytes.size(), 44u + samples.size()) << path;
            // RIFF size, fmt size, PCM, mono, rate, byte rate, block align, 8 bits, data size; then the samples.
            const auto text = [&](std::size_t from, std::size_t to) { return std::string(&bytes[from], &bytes[to]); };
            EXPECT_EQ(text(0, 4) + text(8, 16) + text(36, 40), "RIFFWAVEfmt data");
            const auto le = [&](std::size_t at, int size) { return testdata::littleEndian(bytes, at, size); };
            const auto size = static_cast<std::uint32_t>(samples.size());
            EXPECT_EQ((std::vector<std::uint32_t>{le(4, 4), le(16, 4), le(20, 2), le(22, 2), le(24, 4), le(28, 4),
                                                  le(32, 2), le(34, 2), le(40, 4)}),
                      (std::vector<std::uint32_t>{36 + size, 16, 1, 1, fileRate, fileRate, 1, 8, size})) << path;
            EXPECT_TRUE(std::equal(samples.begin(), samples.end(), bytes.begin() + 44)) << path;
        }
    }
}

// Both files are replaced or neither: a WAV name that cannot be replaced keeps
// the old RAW, and a RAW name that cannot be replaced keeps the old WAV. A
// missing folder is reported at the first file.
TEST_F(TransmissionFilesTest, AFileThatCannotBeWrittenOrReplacedKeepsBothOldFiles)
{
    // c.wav has no old RAW: none may appear.
    for (const char* name : {"a.wav", "b.RAW", "c.wav"})
        fs::create_directory(folder / name);
    std::ofstream(folder / "a.RAW") << "old raw";
    std::ofstream(folder / "b.wav") << "old wav";
    const struct { const char* name; const char* action; const char* path; const char* reason; } cases[] = {
        {"a.wav", "Cannot replace", "a.wav", "Is a directory"}, {"b.wav", "Cannot replace", "b.RAW", "Is a directory"},
        {"c.wav", "Cannot replace", "c.wav", "Is a directory"},
        {"no-such-folder/t.wav", "Cannot create", "no-such-folder/t.RAW", "No such file or directory"}};
    for (const auto& c : cases) {
        try {
            commitSamples(TransmissionFiles((folder / c.name).string(), 11025));
            ADD_FAILURE() << c.name << ": the commit succeeded";
        } catch (const FileError& error) {
            EXPECT_EQ(std::tuple(error.action(), error.path(), error.reason()),
                      std::tuple(c.action, (folder / c.path).string(), c.reason)) << c.name;
        }
    }
    EXPECT_EQ(std::pair(testdata::readText((folder / "a.RAW").string()), testdata::readText((folder / "b.wav").string())),
              std::pair(std::string("old raw"), std::string("old wav")));
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"a.RAW", "a.wav", "b.RAW", "b.wav", "c.wav"}));

    // With nothing in the way the old pair is replaced and nothing is left beside it.
    fs::remove(folder / "a.wav");
    std::ofstream(folder / "a.wav") << "old wav";
    commitSamples(TransmissionFiles((folder / "a.wav").string(), 11025));
    EXPECT_EQ(std::tuple(testdata::readBytes((folder / "a.RAW").string()),
                         testdata::readBytes((folder / "a.wav").string()).size(), fs::exists(folder / "a.RAW.old")),
              std::tuple(kSamples, std::size_t{48}, false));
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
            files.write(kSamples.data(), 4);
            if (explicitly)
                files.abandon();
        }
        EXPECT_EQ(testdata::readText(wav), "previous good recording") << explicitly;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << explicitly;
    }
}
