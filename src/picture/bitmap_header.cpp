#include "picture/bitmap_header.h"

#include <QtEndian>
#include <limits>

namespace tonobild {

namespace {

constexpr int kHeaderBytes = 54;
constexpr quint32 kUncompressed = 0;
constexpr quint32 kBitFields = 3;

template <typename T>
T littleEndianAt(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

// Bytes of uncompressed pixel data: rows padded to four bytes. -1 when the sides
// are not positive or the product would not fit the file offsets (a header that
// claims more than any file can hold is left to the size checks of the caller).
qint64 pixelBytesFor(qint64 width, qint64 height, qint64 bitsPerPixel, qint64 dataOffset)
{
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0)
        return -1;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4; // below 2^47: both factors below 2^31 and 2^16
    if (rowBytes > (std::numeric_limits<qint64>::max() - dataOffset) / height)
        return -1;
    return rowBytes * height;
}

} // namespace

std::optional<BitmapHeader> readBitmapHeader(const QByteArray& start)
{
    if (start.size() < kHeaderBytes || !start.startsWith("BM"))
        return std::nullopt;
    if (littleEndianAt<quint32>(start, 14) < 40) // an old OS/2 header: leave it to Qt
        return std::nullopt;
    BitmapHeader header;
    header.dataOffset = littleEndianAt<quint32>(start, 10);
    header.width = littleEndianAt<qint32>(start, 18);
    const qint64 rows = littleEndianAt<qint32>(start, 22);
    header.height = rows < 0 ? -rows : rows;
    const qint64 bitsPerPixel = littleEndianAt<quint16>(start, 28);
    const quint32 compression = littleEndianAt<quint32>(start, 30);
    if (compression == kUncompressed || compression == kBitFields)
        header.pixelBytes = pixelBytesFor(header.width, header.height, bitsPerPixel, header.dataOffset);
    return header;
}

} // namespace tonobild
