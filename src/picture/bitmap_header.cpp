#include "picture/bitmap_header.h"

#include <QtEndian>

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
    if (compression == kUncompressed || compression == kBitFields) {
        const qint64 rowBytes = (header.width * bitsPerPixel + 31) / 32 * 4;
        header.pixelBytes = rowBytes * header.height;
    }
    return header;
}

} // namespace tonobild
