#include "picture/picture_files.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace tonobild {

QImage toImage(const WorkingPicture& picture)
{
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const ColourComponents c = splitColour(picture.colour(x, y));
            line[x] = qRgb(c.red, c.green, c.blue);
        }
    }
    return image;
}

WorkingPicture fromImage(const QImage& image)
{
    WorkingPicture picture(0, 0);
    placeImage(picture, image);
    return picture;
}

void placeImage(WorkingPicture& picture, const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<ColourNumber> pixels(static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height()));
    std::size_t i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            pixels[i++] = colourNumber(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
    picture.place(rgb.width(), rgb.height(), std::move(pixels));
}

LoadedPicture loadPictureFile(const QString& path)
{
    if (path.isEmpty())
        return {{}, QStringLiteral("no file name is given")};
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, QStringLiteral("the file does not exist")};
    if (info.isDir())
        return {{}, QStringLiteral("it is a folder, not a picture file")};
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide))
        return {{}, QStringLiteral("the picture is %1 x %2 pixels; the largest side the station handles is %3")
                        .arg(size.width()).arg(size.height()).arg(kLargestPictureSide)};
    QImage image = reader.read();
    if (image.isNull())
        return {{}, reader.errorString()};
    if (image.width() > kLargestPictureSide || image.height() > kLargestPictureSide)
        return {{}, QStringLiteral("the picture is larger than %1 pixels on a side").arg(kLargestPictureSide)};
    return {image, {}};
}

namespace {

QByteArray formatForName(const QString& path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix == "png" || suffix == "jpg" || suffix == "jpeg")
        return suffix;
    return "bmp";
}

} // namespace

QString savePictureFile(const QImage& image, const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("no file name is given");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QImageWriter writer(&file, formatForName(path));
    if (!writer.write(image)) {
        file.cancelWriting();
        return writer.errorString();
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace tonobild
