// Random picture files through the station's loading: bitmap headers first
// (the header is read and its sizes checked before Qt decodes any pixel), then
// any format Qt reads. A loaded picture is placed into a working picture as a
// received or chosen picture would be. What the plain bitmap reader of
// tonobild-cli takes must be the picture Qt reads from the same bytes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

#include "picture/bitmap_header.h"
#include "picture/picture_files.h"
#include "picture/plain_bitmap.h"
#include "picture/plain_bitmap_file.h"

using namespace tonobild;

namespace {

// Inputs that start with "B" become bitmaps with a valid file header, so that
// the fuzzer spends its time on the information header and the pixels.
QByteArray pictureBytes(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (bytes.size() >= 54 && bytes.startsWith('B')) {
        bytes[1] = 'M';
        qToLittleEndian<quint32>(static_cast<quint32>(bytes.size()), bytes.data() + 2);
    }
    return bytes;
}

QString inputPath()
{
    static const QString path = QDir::temp().filePath(QStringLiteral("tonobild-picture-fuzz-%1").arg(getpid()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = pictureBytes(data, size);
    if (const auto header = readBitmapHeader(bytesOf(bytes.left(54))); header && header->pixelBytes >= 0) {
        if (header->width <= 0 || header->height <= 0)
            __builtin_trap(); // a length is only announced for real sides
    }
    QFile file(inputPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    const LoadedPicture loaded = loadPictureFile(inputPath());
    const std::optional<WorkingPicture> plain = readPlainBitmap(bytesOf(bytes));
    if (!loaded.image.isNull()) {
        if (loaded.image.width() > kLargestPictureSide || loaded.image.height() > kLargestPictureSide)
            __builtin_trap(); // the size checks let a picture through that the codecs cannot hold
        WorkingPicture picture(0, 0);
        placeImage(picture, loaded.image);
        if (plain && !(*plain == picture))
            __builtin_trap(); // the plain bitmap reader and Qt disagree on the same file
    } else if (plain) {
        __builtin_trap(); // a file Qt refuses is no plain bitmap
    }
    return 0;
}
