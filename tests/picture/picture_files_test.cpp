// Picture files and the clipboard: what loads, what is refused and why, what is
// written, and the clipboard's round trip.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include "picture/picture_clipboard.h"
#include "picture/picture_files.h"

using namespace tonobild;

namespace {

// A picture whose colours differ in every component and position, so that a
// swapped channel or a mirrored row shows.
QImage asymmetricPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + 200) % 256, (y * 5 + 100) % 256, (x + y) % 256));
    return image;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename T>
void putLittleEndian(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// The 54 header bytes of a 24-bit bitmap of the given size, without pixels.
QByteArray bitmapHeader(std::int32_t width, std::int32_t height)
{
    QByteArray bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian<std::uint32_t>(bytes, 2, 54);
    putLittleEndian<std::uint32_t>(bytes, 10, 54);
    putLittleEndian<std::uint32_t>(bytes, 14, 40);
    putLittleEndian<std::int32_t>(bytes, 18, width);
    putLittleEndian<std::int32_t>(bytes, 22, height);
    putLittleEndian<std::uint16_t>(bytes, 26, 1);
    putLittleEndian<std::uint16_t>(bytes, 28, 24);
    return bytes;
}

class PictureFilesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QTemporaryDir folder;
};

} // namespace

TEST_F(PictureFilesTest, SavedBitmapLoadsBackWithTheSamePixels)
{
    const QImage picture = asymmetricPicture(37, 23);
    ASSERT_EQ(savePictureFile(picture, path("card.BMP")), QString());
    const LoadedPicture loaded = loadPictureFile(path("card.BMP"));
    ASSERT_FALSE(loaded.image.isNull()) << loaded.problem.toStdString();
    EXPECT_EQ(fromImage(loaded.image), fromImage(picture));
}

TEST_F(PictureFilesTest, WritesBitmapUnlessTheNameAsksForPngOrJpeg)
{
    const QImage picture = asymmetricPicture(16, 16);
    const std::vector<std::pair<QString, QByteArray>> cases = {
        {QStringLiteral("a.bmp"), QByteArray("BM")},   {QStringLiteral("b.txt"), QByteArray("BM")},
        {QStringLiteral("c"), QByteArray("BM")},       {QStringLiteral("d.PNG"), QByteArray("\x89PNG")},
        {QStringLiteral("e.jpg"), QByteArray("\xFF\xD8")}, {QStringLiteral("f.jpeg"), QByteArray("\xFF\xD8")}};
    for (const auto& [name, magic] : cases) {
        ASSERT_EQ(savePictureFile(picture, path(name)), QString()) << name.toStdString();
        EXPECT_TRUE(fileBytes(path(name)).startsWith(magic)) << name.toStdString();
    }
}

TEST_F(PictureFilesTest, FailedSaveLeavesTheOldFileWholeAndSaysWhy)
{
    const QImage picture = asymmetricPicture(20, 10);
    ASSERT_EQ(savePictureFile(picture, path("out.bmp")), QString());
    const QByteArray before = fileBytes(path("out.bmp"));

    EXPECT_FALSE(savePictureFile(QImage(), path("out.bmp")).isEmpty());
    EXPECT_EQ(fileBytes(path("out.bmp")), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.bmp")});

    writeBytes(path("plain"), "not a folder");
    EXPECT_FALSE(savePictureFile(picture, path("plain/out.bmp")).isEmpty());
    EXPECT_FALSE(savePictureFile(picture, QString()).isEmpty());
}

TEST_F(PictureFilesTest, RefusesWhatIsNoPictureWithADistinctReason)
{
    writeBytes(path("notes.bmp"), "these are words, not pixels");
    QDir(folder.path()).mkdir(QStringLiteral("cards.bmp"));
    const QStringList problems = {loadPictureFile(QString()).problem, loadPictureFile(path("missing.bmp")).problem,
                                  loadPictureFile(path("cards.bmp")).problem,
                                  loadPictureFile(path("notes.bmp")).problem};
    for (const QString& problem : problems)
        EXPECT_FALSE(problem.isEmpty());
    EXPECT_EQ(QSet<QString>(problems.begin(), problems.end()).size(), problems.size());
    EXPECT_TRUE(loadPictureFile(path("notes.bmp")).image.isNull());
}

TEST_F(PictureFilesTest, RefusesATruncatedBitmap)
{
    ASSERT_EQ(savePictureFile(asymmetricPicture(160, 120), path("whole.bmp")), QString());
    const QByteArray whole = fileBytes(path("whole.bmp"));
    writeBytes(path("cut.bmp"), whole.left(whole.size() / 2));
    const LoadedPicture loaded = loadPictureFile(path("cut.bmp"));
    EXPECT_TRUE(loaded.image.isNull());
    EXPECT_FALSE(loaded.problem.isEmpty());
}

TEST_F(PictureFilesTest, ReadsATopDownBitmapThatHoldsEveryRow)
{
    // 2 x 2 pixels, rows stored top row first (negative height), each row padded to 8 bytes.
    QByteArray bytes = bitmapHeader(2, -2);
    bytes += QByteArray::fromHex("0000ff" "00ff00" "0000");  // top row: red, green (stored blue, green, red)
    bytes += QByteArray::fromHex("ff0000" "ffffff" "0000");  // bottom row: blue, white
    putLittleEndian<std::uint32_t>(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    writeBytes(path("topdown.bmp"), bytes);
    const LoadedPicture loaded = loadPictureFile(path("topdown.bmp"));
    ASSERT_FALSE(loaded.image.isNull()) << loaded.problem.toStdString();
    EXPECT_EQ(loaded.image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(loaded.image.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(loaded.image.pixel(0, 1) & 0xFFFFFF, 0x0000FFu);

    writeBytes(path("topdown-cut.bmp"), bytes.left(bytes.size() - 4));
    EXPECT_TRUE(loadPictureFile(path("topdown-cut.bmp")).image.isNull());
}

TEST_F(PictureFilesTest, RefusesOversizedPicturesFromTheHeaderAlone)
{
    // Sides above 32767, and a size within it whose pixels exceed Qt's allocation limit.
    writeBytes(path("wide.bmp"), bitmapHeader(40000, 10));
    const LoadedPicture wide = loadPictureFile(path("wide.bmp"));
    EXPECT_TRUE(wide.image.isNull());
    EXPECT_TRUE(wide.problem.contains(QStringLiteral("40000 x 10"))) << wide.problem.toStdString();

    ASSERT_GT(QImageReader::allocationLimit(), 0);
    writeBytes(path("huge.bmp"), bitmapHeader(30000, 30000));
    const LoadedPicture huge = loadPictureFile(path("huge.bmp"));
    EXPECT_TRUE(huge.image.isNull());
    EXPECT_TRUE(huge.problem.contains(QStringLiteral("30000 x 30000"))) << huge.problem.toStdString();
}

TEST(PictureClipboard, SavedPictureLoadsBackWithTheSamePixels)
{
    const QImage picture = asymmetricPicture(160, 120);
    copyPictureToClipboard(picture);
    const LoadedPicture taken = pictureFromClipboard();
    ASSERT_FALSE(taken.image.isNull()) << taken.problem.toStdString();
    EXPECT_EQ(fromImage(taken.image), fromImage(picture));
}

TEST(PictureClipboard, ClipboardWithoutPictureIsReported)
{
    copyPictureToClipboard(asymmetricPicture(8, 8));
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(pictureFromClipboard().problem, QStringLiteral("the clipboard holds no picture"));

    QGuiApplication::clipboard()->setText(QStringLiteral("words"));
    const LoadedPicture taken = pictureFromClipboard();
    EXPECT_TRUE(taken.image.isNull());
    EXPECT_EQ(taken.problem, QStringLiteral("the clipboard holds no picture"));
}
