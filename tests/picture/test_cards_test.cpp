// The test cards the station draws and ships.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "picture/picture_files.h"
#include "picture/test_cards.h"

using namespace tonobild;

TEST(TestCards, AreWrittenAsBitmapsThatLoadBackPixelForPixelOrTheFolderIsNamed)
{
    QTemporaryDir scratch;
    const QString folder = QDir(scratch.path()).filePath(QStringLiteral("new/cards"));
    ASSERT_EQ(writeTestCards(folder), QString());
    const std::vector<TestCard> cards = testCards();
    EXPECT_GE(cards.size(), 4u);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const std::string name = cards[i].fileName.toStdString();
        const QString path = QDir(folder).filePath(cards[i].fileName);
        EXPECT_TRUE(name.ends_with(".BMP")) << name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.read(2) == "BM") << name;
        const LoadedPicture loaded = loadPictureFile(path);
        const QSize size = loaded.image.size();
        EXPECT_TRUE(size == QSize(160, 120) || size == QSize(320, 240)) << name << ": " << loaded.problem.toStdString();
        EXPECT_EQ(fromImage(loaded.image), fromImage(cards[i].image)) << name;
        EXPECT_NE(cards[i].image, cards[(i + 1) % cards.size()].image) << name; // each card differs from the next
    }

    // Writing into a file instead of a folder names the path.
    const QString blocker = QDir(scratch.path()).filePath(QStringLiteral("plain"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(writeTestCards(QDir(blocker).filePath(QStringLiteral("cards"))).contains(blocker));
}

TEST(TestCards, TheBuildMadeTheFolderWithTheDefaultInputPicture)
{
    const QFileInfo input(defaultInputPicture());
    EXPECT_EQ(input.absolutePath(), QDir(installedTestCardFolder()).absolutePath());
    EXPECT_FALSE(loadPictureFile(input.filePath()).image.isNull());
}
