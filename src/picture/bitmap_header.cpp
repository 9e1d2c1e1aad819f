#include "picture/bitmap_header.h"

#include <limits>

#include "common/little_endian.h"

namespace tonobild {

namespace {

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::int64_t kSmallestInfoHeader = 40; // a smaller one is an old OS/2 header

// Bytes of uncompressed pixel data: rows padded to four bytes. -1 when the sides
// are not positive or the product would not fit the file offsets (a header that
// claims more than any file can hold is left to the size checks of the caller).
std::int64_t pixelBytesFor(std::int64_t width, std::int64_t height, std::int64_t bitsPerPixel,
                           std::int64_t dataOffset)
{
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0)
        return -1;
    const std::int64_t rowBytes = bitmapRowBytes(width, bitsPerPixel); // below 2^47: both factors below 2^31 and 2^16
    if (rowBytes > (std::numeric_limits<std::int64_t>::max() - dataOffset) / height)
        return -1;
    return rowBytes * height;
}

} // namespace

std::optional<BitmapHeader> readBitmapHeader(std::span<const std::uint8_t> start)
{
    if (std::ssize(start) < kBitmapHeaderBytes || start[0] != 'B' || start[1] != 'M')
        return std::nullopt;
    BitmapHeader header;
    header.infoHeaderBytes = littleEndian32(start, 14);
    if (header.infoHeaderBytes < kSmallestInfoHeader) // leave it to Qt
        return std::nullopt;
    header.dataOffset = littleEndian32(start, 10);
    header.width = static_cast<std::int32_t>(littleEndian32(start, 18));
    const std::int64_t rows = static_cast<std::int32_t>(littleEndian32(start, 22));
    header.topDown = rows < 0;
    header.height = rows < 0 ? -rows : rows;
    header.planes = littleEndian16(start, 26);
    header.bitsPerPixel = littleEndian16(start, 28);
    header.compression = littleEndian32(start, 30);
    if (header.compression == kUncompressed || header.compression == kBitFields)
        header.pixelBytes = pixelBytesFor(header.width, header.height, header.bitsPerPixel, header.dataOffset);
    return header;
}

} // namespace tonobild
