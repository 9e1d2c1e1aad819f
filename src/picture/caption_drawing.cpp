#include "picture/caption_drawing.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "picture/picture_files.h"

namespace tonobild {

namespace {

QColor qtColour(ColourNumber colour)
{
    const ColourComponents c = splitColour(colour);
    return QColor(c.red, c.green, c.blue);
}

// Black behind a light caption, white behind a dark one.
QColor edgeColour(ColourNumber colour)
{
    const ColourComponents c = splitColour(colour);
    return 299 * c.red + 587 * c.green + 114 * c.blue >= 128000 ? Qt::black : Qt::white;
}

} // namespace

WorkingPicture withCaption(const WorkingPicture& picture, const Caption& caption)
{
    if (caption.empty() || picture.width() <= 0 || picture.height() <= 0)
        return picture;
    QImage image = toImage(picture);
    const int size = std::max(8, image.height() / 12);
    QFont font;
    font.setPixelSize(size);
    font.setBold(true);
    QPainterPath text;
    int lines = 0;
    for (const std::string& line : caption.lines) {
        if (line.empty())
            continue;
        const QString words = QString::fromStdString(line);
        const int width = QFontMetrics(font).horizontalAdvance(words);
        text.addText((image.width() - width) / 2.0, size * (lines + 1), font, words);
        ++lines;
    }
    const int margin = image.height() / 12;
    const double top = caption.place == CaptionPlace::Top ? margin : image.height() - margin - size * lines - size / 4.0;
    QPainter painter(&image); // no antialiasing: small pictures read better in whole pixels
    painter.translate(0, top);
    painter.strokePath(text, QPen(edgeColour(caption.colour), std::max(1.0, size / 8.0)));
    painter.fillPath(text, qtColour(caption.colour));
    painter.end();
    return fromImage(image);
}

} // namespace tonobild
