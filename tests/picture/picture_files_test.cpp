// Picture files: what is written, what loads back, what is refused and why.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "picture/picture_files.h"

using namespace tonobild;

namespace {

// Colours that differ in every component and position, so that a swapped channel or a mirrored row shows.
QImage asymmetricPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + 200) % 256, (y * 5 + 100) % 256, (x + y) % 256));
    return image;
}

class PictureFilesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QByteArray bytes(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& content) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir folder;
};

} // namespace

TEST_F(PictureFilesTest, WritesBitmapUnlessTheNameAsksForPngOrJpegAndLoadsItBack)
{
    const QImage picture = asymmetricPicture(37, 23);
    for (const auto& [name, magic] : {std::pair{"a.BMP", "BM"}, std::pair{"b.txt", "BM"}, std::pair{"c", "BM"},
                                      std::pair{"d.png", "\x89PNG"}, std::pair{"e.jpeg", "\xFF\xD8"}}) {
        ASSERT_EQ(savePictureFile(picture, path(name)), QString()) << name;
        EXPECT_TRUE(bytes(name).startsWith(magic)) << name;
    }
    for (const char* name : {"a.BMP", "d.png"}) {
        const LoadedPicture loaded = loadPictureFile(path(name));
        EXPECT_EQ(fromImage(loaded.image), fromImage(picture)) << name << ": " << loaded.problem.toStdString();
    }
}

TEST_F(PictureFilesTest, AFailedSaveKeepsTheOldFileWholeAndSaysWhy)
{
    ASSERT_EQ(savePictureFile(asymmetricPicture(20, 10), path("out.bmp")), QString());
    const QByteArray before = bytes("out.bmp");
    EXPECT_FALSE(savePictureFile(QImage(), path("out.bmp")).isEmpty());
    EXPECT_EQ(bytes("out.bmp"), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"out.bmp"});
    EXPECT_FALSE(savePictureFile(asymmetricPicture(2, 2), path("out.bmp/x.bmp")).isEmpty());
}

TEST_F(PictureFilesTest, RefusesATruncatedBitmapOrOneWithASideAbove32767WithAReason)
{
    ASSERT_EQ(savePictureFile(asymmetricPicture(160, 120), path("whole.bmp")), QString());
    write("cut.bmp", bytes("whole.bmp").left(bytes("whole.bmp").size() / 2));
    QByteArray wide = bytes("whole.bmp").left(54); // the header alone, claiming 40000 x 120
    qToLittleEndian<qint32>(40000, wide.data() + 18);
    write("wide.bmp", wide);
    for (const char* name : {"cut.bmp", "wide.bmp"}) {
        const LoadedPicture loaded = loadPictureFile(path(name));
        EXPECT_TRUE(loaded.image.isNull()) << name;
        EXPECT_FALSE(loaded.problem.isEmpty()) << name;
    }
    EXPECT_TRUE(loadPictureFile(path("wide.bmp")).problem.contains("40000 x 120"));
}
