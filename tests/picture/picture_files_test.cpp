// Picture files: what is written, what loads back, what is refused and why; and the test
// cards the station draws and ships.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "common/little_endian.h"
#include "picture/caption_drawing.h"
#include "picture/plain_bitmap_file.h"
#include "picture/test_cards.h"
#include "support/picture_data.h"

using namespace tonobild;

namespace {

QImage blackPicture(int width, int height) { return toImage(WorkingPicture(width, height)); }

struct PictureFilesTest : ::testing::Test {
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QByteArray bytes(const QString& name) const { return testdata::fileBytes(path(name)); }
    QTemporaryDir folder;
};

} // namespace

// Colour numbers are 0x00BBGGRR; outside 0..0xFFFFFF each component keeps its low byte. The picture,
// 3 pixels (9 bytes) to a row padded to 12, with colours that differ in every component and position
// (a swapped channel or a mirrored row shows), is written as a bitmap unless the name asks for PNG or
// JPEG, and loads back; a failed save keeps the old file whole and says why.
TEST_F(PictureFilesTest, ColourNumbersBecomePixelsRowByRowWrittenAsBitmapUnlessTheNameAsksForPngOrJpegAndLoadedBack)
{
    // Red 0x10, green 0x20, blue 0x30; every component 255; blue 0x112 keeps 0x12; red 0, green and blue 255.
    const struct { int x, y; ColourNumber colour; QRgb pixel; } cases[] = {
        {0, 0, 0x00302010, 0xFF102030u}, {1, 0, -1, 0xFFFFFFFFu},         {2, 0, 0x01123456, 0xFF563412u},
        {0, 1, -256, 0xFF00FFFFu},       {1, 1, 0x000000FF, 0xFFFF0000u}, {2, 1, 0x00FF0000, 0xFF0000FFu}};
    WorkingPicture colours(3, 2);
    for (const auto& c : cases)
        colours.setColour(c.x, c.y, c.colour);
    const QImage picture = toImage(colours);
    for (const auto& c : cases)
        EXPECT_EQ(picture.pixel(c.x, c.y), c.pixel) << c.x << "," << c.y;

    for (const auto& [name, magic] : {std::pair{"a.BMP", "BM"}, std::pair{"b.txt", "BM"}, std::pair{"c", "BM"},
                                      std::pair{"d.png", "\x89PNG"}, std::pair{"e.jpeg", "\xFF\xD8"}}) {
        ASSERT_EQ(savePictureFile(picture, path(name)), QString()) << name;
        EXPECT_TRUE(bytes(name).startsWith(magic)) << name;
        // Each but the JPEG, whose colours are not kept exactly, loads back as it was.
        EXPECT_TRUE(QString(name) == "e.jpeg" || testdata::pictureOf(path(name)) == fromImage(picture)) << name;
    }
    // A failed save leaves the file as it was.
    const QByteArray saved = bytes("a.BMP");
    EXPECT_FALSE(savePictureFile(QImage(), path("a.BMP")).isEmpty());
    EXPECT_EQ(bytes("a.BMP"), saved);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), (QStringList{"a.BMP", "b.txt", "c", "d.png", "e.jpeg"}));
}

// tonobild-cli reads and writes plain bitmaps without Qt: byte for byte what Qt
// writes at every padding of a row; that it reads the test cards as Qt does is
// checked with the cards below. Anything else is left to Qt. What holds no usable
// picture is refused with its reason: a truncated bitmap, sides above 32767 or that
// no file can hold, and a named pipe or a device, at once without waiting for a writer.
TEST_F(PictureFilesTest, PlainBitmapsAreWrittenAndReadAsQtWritesAndReadsThemAndNoUsablePictureIsRefusedWithAReason)
{
    for (int width = 1; width <= 4; ++width) {
        WorkingPicture picture(width, 3);
        for (int i = 0; i < width * 3; ++i)
            picture.setColour(i % width, i / width, (i * 0x1F3A57) & 0xFFFFFF);
        // Without a screen (as in tonobild-cli) Qt gives a picture 100 dots per inch; here the
        // offscreen screen has 96.
        QImage image = toImage(picture);
        image.setDotsPerMeterX(3937);
        image.setDotsPerMeterY(3937);
        ASSERT_EQ(savePictureFile(image, path("qt.bmp")), QString());
        ASSERT_EQ(savePlainBitmapFile(picture, path("plain.bmp")), QString());
        EXPECT_EQ(bytes("plain.bmp"), bytes("qt.bmp")) << width;
    }
    ASSERT_EQ(savePictureFile(blackPicture(4, 4), path("d.png")), QString());
    ASSERT_TRUE(QDir().mkpath(path("folder.bmp")));
    ASSERT_EQ(::mkfifo(path("pipe.bmp").toLocal8Bit().constData(), 0600), 0);
    for (const char* name : {"d.png", "folder.bmp", "missing.bmp", "pipe.bmp"})
        EXPECT_FALSE(isPlainBitmapFile(path(name)) || loadPlainBitmapFile(path(name))) << name;
    EXPECT_TRUE(isPlainBitmapFile(path("qt.bmp")));

    ASSERT_EQ(savePictureFile(blackPicture(160, 120), path("whole.bmp")), QString());
    const std::vector<std::uint8_t> whole = testdata::readBytes(path("whole.bmp").toStdString());
    testdata::writeBytes(path("cut.bmp"), {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)});
    // Its 54 header bytes alone, with other sides.
    for (const auto& [name, width, height] : {std::tuple{"wide.bmp", 40000, 120}, {"huge.bmp", 2147483647, 2147483647},
                                              {"tall.bmp", 16, -2147483647 - 1}}) {
        std::vector<std::uint8_t> header(whole.begin(), whole.begin() + 54);
        putLittleEndian32(header, 18, static_cast<std::uint32_t>(width));
        putLittleEndian32(header, 22, static_cast<std::uint32_t>(height));
        testdata::writeBytes(path(name), header);
    }
    const struct { QString path; const char* problem; } cases[] = {
        {path("cut.bmp"), ""}, {path("wide.bmp"), "40000 x 120"}, {path("huge.bmp"), "2147483647 x 2147483647"},
        {path("tall.bmp"), "16 x 2147483648"}, {path("pipe.bmp"), "it is a named pipe, not a picture file"},
        {QStringLiteral("/dev/zero"), "it is a device, not a picture file"}};
    for (const auto& c : cases) {
        const LoadedPicture loaded = loadPictureFile(c.path);
        EXPECT_TRUE(loaded.image.isNull() && !loaded.problem.isEmpty() && loaded.problem.contains(c.problem))
            << c.path.toStdString() << ": " << loaded.problem.toStdString();
    }
}

// A disk that fills up in the middle of the file: the write stops short first, and only the next
// attempt brings the reason. Needs a small file system of its own (root may mount one).
// A full disk is named as such, not as the image writer's "Unknown error".
TEST_F(PictureFilesTest, AFullDiskOrOneThatFillsUpWhileSavingIsNamedAndKeepsTheOldFile)
{
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    for (const char* format : {"bmp", "png"})
        EXPECT_EQ(writePicture(blackPicture(64, 64), full, format), "No space left on device") << format;

    const QString disk = path("small-disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
    const QString saved = disk + "/picture.bmp";
    ASSERT_EQ(savePictureFile(blackPicture(40, 40), saved), QString());
    const QByteArray before = testdata::fileBytes(saved);
    EXPECT_EQ(savePictureFile(blackPicture(160, 120), saved), "No space left on device"); // 57654 bytes
    EXPECT_EQ(testdata::fileBytes(saved), before);
}

// The test cards load back pixel for pixel, by Qt and by the plain bitmap reader alike.
TEST_F(PictureFilesTest, TestCardsAreWrittenAsBitmapsThatLoadBackPixelForPixelOrTheFolderIsNamedAndTheBuildMadeThem)
{
    ASSERT_EQ(writeTestCards(path("new/cards")), QString());
    const std::vector<TestCard> cards = testCards();
    EXPECT_GE(cards.size(), 4u);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const std::string name = cards[i].fileName.toStdString();
        const LoadedPicture loaded = loadPictureFile(path("new/cards/" + cards[i].fileName));
        EXPECT_TRUE(loaded.image.size() == QSize(160, 120) || loaded.image.size() == QSize(320, 240)) << name;
        EXPECT_EQ(fromImage(loaded.image), fromImage(cards[i].image)) << name;
        EXPECT_EQ(loadPlainBitmapFile(path("new/cards/" + cards[i].fileName)), fromImage(loaded.image)) << name;
        EXPECT_NE(cards[i].image, cards[(i + 1) % cards.size()].image) << name; // each card differs from the next
    }

    // Writing into a file instead of a folder names the path.
    testdata::writeBytes(path("plain"), {});
    EXPECT_TRUE(writeTestCards(path("plain/cards")).contains(path("plain")));

    // The build made the folder with the default input picture.
    EXPECT_FALSE(loadPictureFile(defaultInputPicture()).image.isNull());
}

// A caption lies in its band, a twelfth of the height from its edge, in its colour with an
// edge of the other brightness, and leaves every other row alone; the top caption of a
// 160 x 120 picture begins under the signature band. No caption: the picture as it was.
TEST(Caption, IsDrawnInItsBandInItsColourWithAnEdgeAndNothingElseChanges)
{
    const ColourNumber grey = colourNumber(100, 100, 100);
    WorkingPicture picture(160, 120);
    picture.clear(grey);
    EXPECT_EQ(withCaption(picture, {}), picture);
    const struct {
        Caption caption;
        int firstRow, lastRow; // the band rows the lines can take: 10 rows a line, a quarter line below
    } cases[] = {{{{"DL1ABC de G4XYZ", ""}, CaptionPlace::Top, kWhite}, 10, 22},
                 {{{"DL1ABC", "59 Hamburg"}, CaptionPlace::Bottom, colourNumber(255, 255, 0)}, 120 - 10 - 22, 110}};
    for (const auto& c : cases) {
        const WorkingPicture drawn = withCaption(picture, c.caption);
        int inColour = 0, edge = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) {
                if (drawn.colour(x, y) == grey)
                    continue;
                ASSERT_TRUE(y >= c.firstRow && y <= c.lastRow) << x << "," << y;
                inColour += drawn.colour(x, y) == c.caption.colour;
                edge += drawn.colour(x, y) == kBlack;
            }
        EXPECT_GT(inColour, 40);
        EXPECT_GT(edge, 40);
    }
}
