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

QByteArray bitmapFile(int width, int height, const unsigned* pixels, int dotsPerMetreX, int dotsPerMetreY)
{
    const qsizetype rowBytes = (static_cast<qsizetype>(width) * 3 + 3) / 4 * 4;
    const qsizetype pixelBytes = rowBytes * height;
    QByteArray file(54 + pixelBytes, '\0');
    auto* out = reinterpret_cast<unsigned char*>(file.data());
    const auto put16 = [&](int at, unsigned value) {
        out[at] = static_cast<unsigned char>(value);
        out[at + 1] = static_cast<unsigned char>(value >> 8);
    };
    const auto put32 = [&](int at, unsigned value) {
        put16(at, value & 0xFFFFu);
        put16(at + 2, value >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<unsigned>(file.size()));
    put32(10, 54);                  // where the pixels start
    put32(14, 40);                  // the information header's size
    put32(18, static_cast<unsigned>(width));
    put32(22, static_cast<unsigned>(height)); // positive: the bottom row first
    put16(26, 1);                   // planes
    put16(28, 24);                  // bits per pixel
    put32(30, 0);                   // no compression
    put32(34, static_cast<unsigned>(pixelBytes));
    put32(38, static_cast<unsigned>(dotsPerMetreX));
    put32(42, static_cast<unsigned>(dotsPerMetreY));
    for (int y = 0; y < height; ++y) {
        const unsigned* row = pixels + static_cast<qsizetype>(height - 1 - y) * width;
        unsigned char* to = out + 54 + rowBytes * y;
        for (int x = 0; x < width; ++x) {
            const unsigned pixel = row[x];
            to[0] = static_cast<unsigned char>(pixel);
            to[1] = static_cast<unsigned char>(pixel >> 8);
            to[2] = static_cast<unsigned char>(pixel >> 16);
            to += 3;
        }
    }
    return file;
}

} // namespace tonobild
