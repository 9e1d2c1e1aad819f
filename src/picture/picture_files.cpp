#include "picture/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include "common/file_kinds.h"
#include "picture/bitmap_header.h"
#include "picture/picture_file_saving.h"
#include "picture/plain_bitmap_file.h"

namespace tonobild {

QImage toImage(const WorkingPicture& picture)
{
    // Colour number 0x00BBGGRR to pixel 0xFFRRGGBB. A number outside 0..0xFFFFFF
    // keeps the low byte of each component as splitColour() and qRgb() leave
    // it: red the number's low byte, green the next, blue the third.
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    const ColourNumber* colour = picture.pixels().data();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const auto c = static_cast<std::uint32_t>(*colour++);
            line[x] = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
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
    const int width = rgb.width();
    const int height = rgb.height();
    std::vector<ColourNumber> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ColourNumber* to = pixels.data();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            *to++ = colourNumber(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
    picture.place(width, height, std::move(pixels));
}

namespace {

// Qt refuses to decode a picture whose pixels at four bytes each would take more
// than its allocation limit (in megabytes; 0 means no limit).
bool exceedsAllocationLimit(qint64 width, qint64 height)
{
    const qint64 limit = QImageReader::allocationLimit();
    return limit > 0 && width * height * 4 > limit * 1024 * 1024;
}

struct BitmapCheck {
    bool isBitmap = false;
    QString problem; // why the file is refused, or empty
};

// Checks a bitmap's header: its size, and that the file holds every row it announces.
BitmapCheck checkBitmap(const QString& path, qint64 fileSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, file.errorString()};
    const QByteArray start = file.read(kBitmapHeaderBytes);
    const std::optional<BitmapHeader> header = readBitmapHeader(bytesOf(start));
    if (!header)
        return {};
    const QString problem = pictureSizeProblem(header->width, header->height);
    if (!problem.isEmpty())
        return {true, problem};
    if (fileSize < header->expectedFileSize())
        return {true, QStringLiteral("the file is cut short: it holds %1 bytes, its header announces %2")
                          .arg(fileSize).arg(header->expectedFileSize())};
    return {true, {}};
}

} // namespace

QString specialFileKind(const QString& path)
{
    return QString::fromStdString(specialFileKind(QFile::encodeName(path).toStdString()));
}

QString pictureSizeProblem(qint64 width, qint64 height)
{
    if (width > kLargestPictureSide || height > kLargestPictureSide)
        return QStringLiteral("the picture is %1 x %2 pixels; the largest side the station handles is %3")
            .arg(width).arg(height).arg(kLargestPictureSide);
    if (exceedsAllocationLimit(width, height))
        return QStringLiteral("the picture is %1 x %2 pixels, more than the %3 MB a picture may take")
            .arg(width).arg(height).arg(QImageReader::allocationLimit());
    return {};
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
    if (const QString kind = specialFileKind(path); !kind.isEmpty())
        return {{}, QStringLiteral("it is %1, not a picture file; save the picture into a file first").arg(kind)};
    const BitmapCheck bitmap = checkBitmap(path, info.size());
    if (!bitmap.problem.isEmpty())
        return {{}, bitmap.problem};
    // A bitmap goes straight to Qt's own bitmap reader; guessing the format
    // would load every image plugin to ask it first.
    QImageReader reader(path, bitmap.isBitmap ? QByteArrayLiteral("bmp") : QByteArray());
    reader.setAutoDetectImageFormat(!bitmap.isBitmap);
    const QSize size = reader.size();
    if (size.isValid()) {
        if (const QString problem = pictureSizeProblem(size.width(), size.height()); !problem.isEmpty())
            return {{}, problem};
    }
    QImage image = reader.read();
    if (image.isNull())
        return {{}, reader.errorString()};
    if (const QString problem = pictureSizeProblem(image.width(), image.height()); !problem.isEmpty())
        return {{}, problem};
    return {image, {}};
}

QString savePictureFile(const QImage& image, const QString& path)
{
    const QByteArray format = pictureFormatForName(path);
    return saveWholeFile(path, [&](QFileDevice& file) { return writePicture(image, file, format); });
}

QString writePicture(const QImage& image, QFileDevice& file, const QByteArray& format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return writer.errorString();
    return writeWhole(file, bytes);
}

} // namespace tonobild
