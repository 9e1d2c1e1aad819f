#include "picture/test_cards.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

#include "picture/picture_files.h"

namespace tonobild {

namespace {

QImage blankCard(int width, int height, const QColor& background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// The left edge of part `index` of `count` equal parts of `length` pixels.
int partEdge(int length, int index, int count)
{
    return length * index / count;
}

} // namespace

QImage colourBars(int width, int height)
{
    static const std::array<QColor, 8> bars = {
        QColor(255, 255, 255), QColor(255, 255, 0), QColor(0, 255, 255), QColor(0, 255, 0),
        QColor(255, 0, 255),   QColor(255, 0, 0),   QColor(0, 0, 255),   QColor(0, 0, 0)};
    QImage image = blankCard(width, height, Qt::black);
    QPainter painter(&image);
    const int count = static_cast<int>(bars.size());
    for (int i = 0; i < count; ++i) {
        const int left = partEdge(width, i, count);
        painter.fillRect(left, 0, partEdge(width, i + 1, count) - left, height, bars[static_cast<std::size_t>(i)]);
    }
    return image;
}

QImage greyWedge(int width, int height, int steps)
{
    QImage image = blankCard(width, height, Qt::black);
    QPainter painter(&image);
    for (int i = 0; i < steps; ++i) {
        const int level = steps > 1 ? (255 * i + (steps - 1) / 2) / (steps - 1) : 255;
        const int left = partEdge(width, i, steps);
        painter.fillRect(left, 0, partEdge(width, i + 1, steps) - left, height, QColor(level, level, level));
    }
    return image;
}

namespace {

// Black lines `spacing` pixels wide with gaps of the same width, filling `area`;
// vertical lines run top to bottom, horizontal lines left to right.
void drawLineGroup(QPainter& painter, const QRect& area, int spacing, bool vertical)
{
    for (int offset = 0; offset < (vertical ? area.width() : area.height()); offset += 2 * spacing) {
        if (vertical)
            painter.fillRect(area.left() + offset, area.top(), spacing, area.height(), Qt::black);
        else
            painter.fillRect(area.left(), area.top() + offset, area.width(), spacing, Qt::black);
    }
}

} // namespace

QImage resolutionChart(int width, int height)
{
    QImage image = blankCard(width, height, Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.drawLine(0, 0, width - 1, height - 1);
    painter.drawLine(0, height - 1, width - 1, 0);
    painter.drawLine(width / 2, 0, width / 2, height - 1);
    painter.drawLine(0, height / 2, width - 1, height / 2);
    const int side = std::min(width, height);
    painter.drawEllipse(QPoint(width / 2, height / 2), side * 3 / 8, side * 3 / 8);

    // Line groups of spacing 4, 3, 2 and 1 pixels in the four corners.
    const int groupWidth = width / 5;
    const int groupHeight = height / 5;
    const std::array<int, 4> spacings = {4, 3, 2, 1};
    for (std::size_t i = 0; i < spacings.size(); ++i) {
        const int left = (i % 2 == 0) ? width / 20 : width - width / 20 - groupWidth;
        const int top = (i < 2) ? height / 20 : height - height / 20 - groupHeight;
        const QRect corner(left, top, groupWidth, groupHeight);
        const QRect upperHalf(corner.left(), corner.top(), corner.width(), corner.height() / 2);
        const QRect lowerHalf(corner.left(), corner.top() + corner.height() / 2, corner.width(), corner.height() / 2);
        drawLineGroup(painter, upperHalf, spacings[i], true);
        drawLineGroup(painter, lowerHalf, spacings[i], false);
    }
    return image;
}

QImage portrait(int width, int height)
{
    QImage image = blankCard(width, height, Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width / 320.0, height / 240.0); // drawn on a 320 x 240 grid

    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(70, 110, 190));
    sky.setColorAt(1, QColor(170, 200, 235));
    painter.fillRect(QRect(0, 0, 320, 240), sky);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 60, 120)); // shoulders
    painter.drawEllipse(QRect(70, 190, 180, 110));
    painter.setBrush(QColor(225, 180, 150)); // neck
    painter.drawRect(QRect(142, 160, 36, 40));
    painter.setBrush(QColor(200, 40, 60)); // collar
    painter.drawPolygon(QPolygon({QPoint(142, 195), QPoint(160, 215), QPoint(178, 195)}));
    painter.setBrush(QColor(230, 185, 155)); // ears and face
    painter.drawEllipse(QRect(104, 90, 20, 34));
    painter.drawEllipse(QRect(196, 90, 20, 34));
    painter.drawEllipse(QRect(115, 40, 90, 125));
    painter.setBrush(QColor(90, 55, 30)); // hair
    painter.drawChord(QRect(110, 30, 100, 80), 0, 180 * 16);

    for (const int eyeX : {135, 165}) {
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRect(eyeX, 88, 20, 12));
        painter.setBrush(QColor(40, 120, 60));
        painter.drawEllipse(QRect(eyeX + 6, 89, 9, 9));
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(eyeX + 8, 91, 5, 5));
        painter.setPen(QPen(QColor(80, 50, 25), 3));
        painter.drawLine(eyeX, 80, eyeX + 20, 78);
        painter.setPen(Qt::NoPen);
    }
    painter.setPen(QPen(QColor(170, 120, 100), 2)); // nose
    painter.drawPolyline(QPolygon({QPoint(160, 100), QPoint(154, 124), QPoint(162, 126)}));
    painter.setPen(QPen(QColor(170, 40, 50), 4)); // mouth
    painter.drawArc(QRect(142, 122, 36, 20), 200 * 16, 140 * 16);
    return image;
}

QImage scene(int width, int height)
{
    QImage image = blankCard(width, height, Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width / 160.0, height / 120.0); // drawn on a 160 x 120 grid

    QLinearGradient sky(0, 0, 0, 80);
    sky.setColorAt(0, QColor(40, 90, 200));
    sky.setColorAt(1, QColor(180, 215, 250));
    painter.fillRect(QRect(0, 0, 160, 80), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 220, 40)); // sun
    painter.drawEllipse(QPoint(130, 22), 12, 12);

    painter.setBrush(QColor(60, 150, 60)); // far hill, near hill
    painter.drawEllipse(QRect(-40, 60, 150, 90));
    painter.setBrush(QColor(40, 120, 40));
    painter.drawEllipse(QRect(50, 70, 170, 90));
    painter.fillRect(QRect(0, 100, 160, 20), QColor(40, 120, 40));

    painter.setBrush(QColor(230, 220, 190)); // house
    painter.drawRect(QRect(30, 62, 40, 30));
    painter.setBrush(QColor(170, 40, 30));
    painter.drawPolygon(QPolygon({QPoint(25, 63), QPoint(50, 42), QPoint(75, 63)}));
    painter.setBrush(QColor(100, 60, 30));
    painter.drawRect(QRect(45, 74, 10, 18));
    painter.setBrush(QColor(120, 180, 230));
    painter.drawRect(QRect(34, 68, 8, 8));
    painter.drawRect(QRect(58, 68, 8, 8));

    painter.setBrush(QColor(110, 70, 30)); // tree
    painter.drawRect(QRect(108, 70, 6, 24));
    painter.setBrush(QColor(30, 100, 30));
    painter.drawEllipse(QPoint(111, 62), 14, 16);
    return image;
}

std::vector<TestCard> testCards()
{
    return {
        {QStringLiteral("BARS160.BMP"), colourBars(160, 120)},
        {QStringLiteral("BARS320.BMP"), colourBars(320, 240)},
        {QStringLiteral("CHART160.BMP"), resolutionChart(160, 120)},
        {QStringLiteral("CHART320.BMP"), resolutionChart(320, 240)},
        {QStringLiteral("FACE320.BMP"), portrait(320, 240)},
        {QStringLiteral("SCENE160.BMP"), scene(160, 120)},
        {QStringLiteral("WEDGE160.BMP"), greyWedge(160, 120, 8)},
        {QStringLiteral("WEDGE320.BMP"), greyWedge(320, 240, 16)},
    };
}

QString writeTestCards(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("%1: the folder cannot be created").arg(folder);
    for (const TestCard& card : testCards()) {
        const QString path = QDir(folder).filePath(card.fileName);
        const QString problem = savePictureFile(card.image, path);
        if (!problem.isEmpty())
            return QStringLiteral("%1: %2").arg(path, problem);
    }
    return {};
}

QString installedTestCardFolder()
{
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TONOBILD_INSTALLED_TESTCARDS));
    if (QFileInfo(installed).isDir())
        return QDir::cleanPath(installed);
    return QDir::cleanPath(QStringLiteral(TONOBILD_BUILD_TESTCARDS));
}

QString defaultInputPicture()
{
    return QDir(installedTestCardFolder()).filePath(QStringLiteral("FACE320.BMP"));
}

} // namespace tonobild
