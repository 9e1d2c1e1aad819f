// The transmission files: the RAW and player WAV names, the WAV headers, and
// files replaced only when the encode completes.
#include <gtest/gtest.h>

#include <filesystem>
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
    std::string at(const char* name) const { return (folder / name).string(); }
    const fs::path folder = fs::temp_directory_path() / ("tonobild-files-" + std::to_string(::getpid()));
};

const std::vector<std::uint8_t> kSamples = {160, 95, 224, 31};

// Opens, writes kSamples in two parts and commits; answers the player WAV's problem.
std::string commitSamples(TransmissionFiles&& files)
{
    files.open();
    files.write(kSamples.data(), 3);
    files.write(kSamples.data() + 3, 1);
    return files.commit();
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
// the player WAV each sample held at the device's rate. A player WAV that cannot be
// moved into place comes last: the RAW and the WAV are in place, and the answer names
// the player WAV and the reason.
TEST_F(TransmissionFilesTest, WritesRawWavAndPlayerWavWithCompleteHeadersAndAPlayerWavThatCannotBeReplacedLast)
{
    for (const auto& [rate, playerRate, hold] : {std::tuple{11025u, 44100u, 4u}, std::tuple{8000u, 48000u, 6u}}) {
        const std::string wav = at("t.wav");
        TransmissionFiles files(wav, rate, TransmissionFiles::PlayerWav::With);
        const std::string player = files.playerPath();
        EXPECT_EQ(player, at("t-player.wav"));
        EXPECT_EQ(commitSamples(std::move(files)), "");
        EXPECT_EQ(testdata::readBytes(at("t.RAW")), kSamples);
        // The header written out field by field by hand: PCM, mono, 8 bits, the sizes set.
        for (const auto& [path, fileRate, samples] : {std::tuple{wav, rate, kSamples},
                                                      std::tuple{player, playerRate, testdata::held(kSamples, int(hold))}})
            EXPECT_EQ(testdata::readBytes(path),
                      testdata::wavBytes(1, 1, fileRate, 8, samples, static_cast<std::uint32_t>(samples.size()))) << path;
    }

    fs::create_directory(folder / "p-player.wav");
    EXPECT_EQ(commitSamples(TransmissionFiles(at("p.wav"), 11025, TransmissionFiles::PlayerWav::With)),
              "Cannot replace " + at("p-player.wav") + ": Is a directory");
    EXPECT_EQ(std::pair(testdata::readBytes(at("p.RAW")), testdata::readBytes(at("p.wav")).size()),
              std::pair(kSamples, std::size_t{48}));
}

// Both files are replaced or neither: a WAV name that cannot be replaced keeps
// the old RAW, and a RAW name that cannot be replaced keeps the old WAV. A
// missing folder is reported at the first file.
TEST_F(TransmissionFilesTest, AFileThatCannotBeWrittenOrReplacedOrAnAbandonedWriteKeepsBothOldFiles)
{
    const auto names = [&] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.insert(entry.path().filename().string());
        return found;
    };
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
    EXPECT_EQ(std::pair(testdata::readText(at("a.RAW")), testdata::readText(at("b.wav"))),
              std::pair(std::string("old raw"), std::string("old wav")));
    const std::set<std::string> left = {"a.RAW", "a.wav", "b.RAW", "b.wav", "c.wav"};
    EXPECT_EQ(names(), left);

    // With nothing in the way the old pair is replaced and nothing is left beside it.
    fs::remove(folder / "a.wav");
    std::ofstream(folder / "a.wav") << "old wav";
    const std::string wav = at("a.wav"), raw = at("a.RAW");
    EXPECT_EQ(commitSamples(TransmissionFiles(wav, 11025)), "");
    const auto pair = std::pair(testdata::readBytes(raw), testdata::readBytes(wav));
    EXPECT_EQ(std::tuple(pair.first, pair.second.size(), names()), std::tuple(kSamples, std::size_t{48}, left));

    // Abandoned, or left without a commit as when the window closes mid-encode: the pair
    // stays whole and neither a player WAV nor a temporary appears.
    for (const bool explicitly : {false, true}) {
        {
            TransmissionFiles files(wav, 11025, TransmissionFiles::PlayerWav::With);
            files.open();
            files.write(kSamples.data(), 2);
            if (explicitly)
                files.abandon();
        }
        EXPECT_EQ(std::tuple(testdata::readBytes(raw), testdata::readBytes(wav), names()),
                  std::tuple(pair.first, pair.second, left)) << explicitly;
    }
}

// A WAV name that is a symbolic link (a recording kept in another folder) stays
// a link: the file it leads to gets the new samples, and nothing is left beside either.
TEST_F(TransmissionFilesTest, AWavNameThatIsASymbolicLinkStaysOneAndTheFileItLeadsToIsReplaced)
{
    fs::create_directory(folder / "kept");
    std::ofstream(folder / "kept/real.wav") << "old wav";
    fs::create_symlink("kept/real.wav", folder / "t.wav");
    EXPECT_EQ(commitSamples(TransmissionFiles(at("t.wav"), 11025)), "");
    EXPECT_TRUE(fs::is_symlink(folder / "t.wav"));
    EXPECT_EQ(testdata::readBytes(at("kept/real.wav")), testdata::wavBytes(1, 1, 11025, 8, kSamples, 4));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "kept"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3); // kept, t.wav, t.RAW
}
