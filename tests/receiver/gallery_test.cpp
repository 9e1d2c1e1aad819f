// The gallery: names by local time and codeword, never an overwrite, the WAV
// and index line as written, and a folder that cannot be made.
#include <gtest/gtest.h>

#include <tuple>

#include <QDir>
#include <QTemporaryDir>

#include "receiver/decode_again.h"
#include "receiver/gallery.h"
#include "receiver/gallery_names.h"
#include "support/picture_data.h"

namespace tonobild {
namespace {

TEST(GalleryNames, TimeAndTheCodewordsLettersDigitsAndDashes)
{
    // A plain codeword: GalleryTest.APictureInTheSameSecondTakesTheNextNumberAndTheFirstStaysAsItWas.
    const std::pair<const char*, const char*> cases[] = {
        {"DL/2 ABC", "2026-12-06_14-03-22_DL2ABC"}, {"../G4-XY", "2026-12-06_14-03-22_G4-XY"},
        {"", "2026-12-06_14-03-22"}, {"\xC4\xD6 ", "2026-12-06_14-03-22"}};
    for (const auto& [codeword, stem] : cases)
        EXPECT_EQ(galleryStem({2026, 12, 6, 14, 3, 22}, codeword), stem) << codeword;
    EXPECT_EQ(galleryStem({2027, 1, 2, 3, 4, 5}, "X"), "2027-01-02_03-04-05_X");
}

// What the strip says under a picture: the name part of its stem without the number of a second
// picture, and the mode of its index line.
TEST(GalleryNames, TheNamePartOfAStemAndTheModeOfAnIndexLine)
{
    const std::pair<const char*, const char*> stems[] = {
        {"2026-12-06_14-03-22_DL1ABC", "DL1ABC"}, {"2026-12-06_14-03-22_DL1ABC-2", "DL1ABC"},
        {"2026-12-06_14-03-22_G4-XY", "G4-XY"},   {"2026-12-06_14-03-22", ""},
        {"2026-12-06_14-03-22-2", ""},            {"holiday", ""}};
    for (const auto& [stem, part] : stems)
        EXPECT_EQ(namePartOfStem(stem), part) << stem;
    const std::tuple<const char*, const char*, const char*> lines[] = {
        {"--standard", "Robot 36, VIS, +0 ppm, +0 Hz, SNR 52 dB, studio range", "Robot 36"},
        {"--standard --standard-mode PD120 --ppm 0", "PD 120, forced, +0 ppm", "PD 120"},
        {"--resolution 320x240 --half-x --level 3", "Class of transmitter: Amateur", "320x240"},
        {"--level 3", "", ""}};
    for (const auto& [options, report, mode] : lines)
        EXPECT_EQ(modeOfIndexLine(options, report), mode) << options;
}

class GalleryTest : public ::testing::Test {
protected:
    QTemporaryDir temporary;
    QString problem;
    const std::vector<std::uint8_t> samples{40, 216, 40, 216, 128, 128};
    const QDateTime when{QDate(2026, 12, 6), QTime(14, 3, 22)};
    ReceivedPicture item{.picture = WorkingPicture(160, 120), .recording = samples, .sampleRate = 44100,
                         .family = "Tonobild", .mode = "160x120", .namePart = "KLM456",
                         .report = "Class of transmitter: Amateur; Identification: KLM456",
                         .decodeOptions = "--resolution 160x120 --level 3"};
    WorkingPicture& picture = item.picture;
};

TEST_F(GalleryTest, APictureInTheSameSecondTakesTheNextNumberAndTheFirstStaysAsItWas)
{
    const Gallery gallery(temporary.filePath(QStringLiteral("new/folder")));
    picture.fillBox(0, 0, 9, 9, colourNumber(255, 0, 0));
    const auto first = gallery.keep(item, when, &problem);
    ASSERT_TRUE(first) << problem.toStdString();
    EXPECT_EQ(QFileInfo(first->picturePath).fileName(), QStringLiteral("2026-12-06_14-03-22_KLM456.png"));
    EXPECT_EQ(QFileInfo(first->recordingPath).fileName(), QStringLiteral("2026-12-06_14-03-22_KLM456.wav"));

    picture.clear();
    const auto second = gallery.keep(item, when, &problem);
    ASSERT_TRUE(second) << problem.toStdString();
    EXPECT_EQ(QFileInfo(second->picturePath).fileName(), QStringLiteral("2026-12-06_14-03-22_KLM456-2.png"));
    EXPECT_EQ(testdata::pictureOf(first->picturePath).colour(5, 5), colourNumber(255, 0, 0)); // the first stays red

    // The recording: the 44-byte header of 8-bit mono at 44100, then the samples.
    EXPECT_EQ(testdata::readBytes(first->recordingPath.toStdString()), testdata::wavBytes(1, 1, 44100, 8, samples, 6));

    const auto line = [](const char* stem) {
        return QStringLiteral("2026-12-06T14:03:22\t%1.png\t%1.wav\t0.0 s\t--resolution 160x120 --level 3\t"
                              "Class of transmitter: Amateur; Identification: KLM456\n").arg(stem).toUtf8();
    };
    EXPECT_EQ(testdata::fileBytes(gallery.folder() + QStringLiteral("/index.txt")),
              line("2026-12-06_14-03-22_KLM456") + line("2026-12-06_14-03-22_KLM456-2"));
    EXPECT_EQ(gallery.latestPictures(5).size(), 2);
    // Read back from the index, by the picture's name.
    const GalleryItem second2 = gallery.indexed().value(QStringLiteral("2026-12-06_14-03-22_KLM456-2.png"));
    EXPECT_EQ(std::tuple(second2.entry.recordingPath, second2.entry.time, second2.decodeOptions, second2.report),
              std::tuple(second->recordingPath, when, QStringLiteral("--resolution 160x120 --level 3"),
                         QStringLiteral("Class of transmitter: Amateur; Identification: KLM456")));
}

// A file where the folder or the index should be, and a folder that takes no
// files: nothing is kept, and the file and the reason are said.
TEST_F(GalleryTest, AFolderOrIndexThatCannotBeWrittenIsSaidWithTheFileAndTheReason)
{
    const QString blocker = testdata::writeBytes(temporary.filePath(QStringLiteral("blocker")), {});
    QDir(temporary.path()).mkpath(QStringLiteral("gallery/index.txt"));
    const QString locked = temporary.filePath(QStringLiteral("locked"));
    QDir().mkdir(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool lockedTakesFiles = QFile(locked + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    // folder, the problem of keeping (%1: the folder), whether that is all of it, and the
    // problem said before listening starts (the index is not tried then)
    const char* const notAFolder = "cannot create the gallery folder %1: Not a directory";
    const std::tuple<QString, const char*, bool, const char*> cases[] = {
        {blocker + QStringLiteral("/gallery"), notAFolder, true, notAFolder}, {blocker, notAFolder, true, notAFolder},
        {temporary.filePath(QStringLiteral("gallery")), "cannot write %1/index.txt: ", false, ""},
        {locked, "cannot write %1/2026-12-06_14-03-22_KLM456.wav: Permission denied", true,
         "cannot write into the gallery folder %1: Permission denied"}};
    for (const auto& [folder, expected, whole, beforehand] : cases) {
        if (folder == locked && lockedTakesFiles)
            GTEST_SKIP() << "the user may write into a read-only folder";
        EXPECT_EQ(Gallery(folder).prepare(), QString::fromUtf8(beforehand).arg(folder));
        const QString wanted = QString::fromUtf8(expected).arg(folder);
        EXPECT_FALSE(Gallery(folder).keep(item, when, &problem)) << folder.toStdString();
        EXPECT_TRUE(whole ? problem == wanted : problem.startsWith(wanted)) << problem.toStdString();
    }
    EXPECT_TRUE(QDir(locked).entryList(QDir::Files).isEmpty());
}

// Decode again of a recording that is missing, not the gallery's 8-bit mono, or holds no
// standard transmission: the file and the reason, and nothing kept.
TEST_F(GalleryTest, DecodeAgainOfARecordingThatCannotBeDecodedSaysWhyAndKeepsNothing)
{
    const Gallery gallery(temporary.path());
    const QString silence = testdata::writeBytes(temporary.filePath(QStringLiteral("silence.wav")),
                                                 testdata::wavBytes(1, 1, 44100, 8, std::vector<std::uint8_t>(44100, 128), 44100));
    const QString wide = testdata::writeBytes(temporary.filePath(QStringLiteral("wide.wav")),
                                              testdata::wavBytes(1, 1, 44100, 16, std::vector<std::uint8_t>(400, 0), 400));
    const std::pair<QString, QString> cases[] = {
        {temporary.filePath(QStringLiteral("missing.wav")), QStringLiteral("No such file or directory")},
        {wide, QStringLiteral("cannot decode %1 again: it is not the gallery's 8-bit mono recording").arg(wide)},
        {silence, QStringLiteral("no standard transmission found in %1").arg(silence)}};
    for (const auto& [recording, reason] : cases) {
        const GalleryItem kept{{temporary.filePath(QStringLiteral("old.png")), recording, when}, "--standard", ""};
        const auto result = decodeAgain(gallery, kept, {});
        ASSERT_TRUE(std::holds_alternative<QString>(result));
        EXPECT_TRUE(std::get<QString>(result).contains(reason)) << std::get<QString>(result).toStdString();
    }
    EXPECT_TRUE(gallery.latestPictures(1).isEmpty());
}

} // namespace
} // namespace tonobild
