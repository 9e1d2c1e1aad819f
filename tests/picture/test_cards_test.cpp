// The test cards the station draws and ships.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include "picture/picture_files.h"
#include "picture/test_cards.h"

using namespace tonobild;

namespace {

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// The grey levels across the middle row, one entry per run of equal pixels.
std::vector<int> greyRuns(const QImage& image)
{
    std::vector<int> levels;
    const int y = image.height() / 2;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        EXPECT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel)) << "column " << x;
        if (levels.empty() || levels.back() != qRed(pixel))
            levels.push_back(qRed(pixel));
    }
    return levels;
}

bool isFlat(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) != at(image, 0, 0))
                return false;
    return true;
}

// Whether some row holds `length` pixels alternating black and white one pixel at a time.
bool hasOnePixelLines(const QImage& image, int length)
{
    for (int y = 0; y < image.height(); ++y) {
        int run = 1;
        for (int x = 1; x < image.width(); ++x) {
            const QRgb a = at(image, x - 1, y);
            const QRgb b = at(image, x, y);
            const bool alternates = a != b && (a == 0 || a == 0xFFFFFF) && (b == 0 || b == 0xFFFFFF);
            run = alternates ? run + 1 : 1;
            if (run >= length)
                return true;
        }
    }
    return false;
}

} // namespace

TEST(TestCards, ColourBarsRunFromWhiteToBlackInEightEqualBars)
{
    const std::vector<QRgb> order = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
    for (const QSize size : {QSize(160, 120), QSize(320, 240)}) {
        const QImage bars = colourBars(size.width(), size.height());
        ASSERT_EQ(bars.size(), size);
        const int barWidth = size.width() / 8;
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(at(bars, i * barWidth, 0), order[i]) << "bar " << i << " left edge";
            EXPECT_EQ(at(bars, i * barWidth + barWidth - 1, size.height() - 1), order[i]) << "bar " << i;
        }
    }
}

TEST(TestCards, GreyWedgeStepsEvenlyFromBlackToWhite)
{
    for (const int steps : {8, 16}) {
        const std::vector<int> levels = greyRuns(greyWedge(320, 240, steps));
        ASSERT_EQ(levels.size(), static_cast<std::size_t>(steps));
        EXPECT_EQ(levels.front(), 0);
        EXPECT_EQ(levels.back(), 255);
        const double step = 255.0 / (steps - 1);
        for (std::size_t i = 1; i < levels.size(); ++i)
            EXPECT_NEAR(levels[i] - levels[i - 1], step, 1.0) << "step " << i;
    }
}

TEST(TestCards, ResolutionChartResolvesSinglePixelLines)
{
    EXPECT_TRUE(hasOnePixelLines(resolutionChart(320, 240), 20));
    EXPECT_TRUE(hasOnePixelLines(resolutionChart(160, 120), 10));
    EXPECT_FALSE(hasOnePixelLines(colourBars(320, 240), 3));
}

TEST(TestCards, EveryCardIsOfAStationSizeAndDiffersFromTheOthers)
{
    QSet<int> widths;
    QSet<QString> names;
    std::vector<QImage> images;
    for (const TestCard& card : testCards()) {
        const QSize size = card.image.size();
        EXPECT_TRUE(size == QSize(160, 120) || size == QSize(320, 240)) << card.fileName.toStdString();
        EXPECT_TRUE(card.fileName.endsWith(QLatin1String(".BMP"))) << card.fileName.toStdString();
        EXPECT_FALSE(isFlat(card.image)) << card.fileName.toStdString();
        for (const QImage& other : images)
            EXPECT_NE(card.image, other) << card.fileName.toStdString();
        images.push_back(card.image);
        widths.insert(size.width());
        names.insert(card.fileName);
    }
    EXPECT_GE(images.size(), 4u);
    EXPECT_EQ(widths, (QSet<int>{160, 320}));
    EXPECT_EQ(names.size(), static_cast<qsizetype>(images.size()));
}

TEST(TestCards, WrittenCardsLoadBackPixelForPixel)
{
    QTemporaryDir scratch;
    const QString folder = QDir(scratch.path()).filePath(QStringLiteral("new/cards"));
    ASSERT_EQ(writeTestCards(folder), QString());
    for (const TestCard& card : testCards()) {
        const LoadedPicture loaded = loadPictureFile(QDir(folder).filePath(card.fileName));
        ASSERT_FALSE(loaded.image.isNull()) << card.fileName.toStdString() << ": " << loaded.problem.toStdString();
        EXPECT_EQ(fromImage(loaded.image), fromImage(card.image)) << card.fileName.toStdString();
    }
}

TEST(TestCards, WritingIntoAFileInsteadOfAFolderNamesThePath)
{
    QTemporaryDir scratch;
    const QString blocker = QDir(scratch.path()).filePath(QStringLiteral("plain"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString problem = writeTestCards(QDir(blocker).filePath(QStringLiteral("cards")));
    EXPECT_TRUE(problem.contains(blocker)) << problem.toStdString();
}

TEST(TestCards, BuildMadeTheFolderTheStationFindsWithTheDefaultInputPicture)
{
    const QString folder = installedTestCardFolder();
    for (const TestCard& card : testCards())
        EXPECT_TRUE(QFileInfo(QDir(folder).filePath(card.fileName)).isFile()) << card.fileName.toStdString();
    const QFileInfo input(defaultInputPicture());
    EXPECT_EQ(input.absolutePath(), QDir(folder).absolutePath());
    EXPECT_FALSE(loadPictureFile(input.filePath()).image.isNull());
}
