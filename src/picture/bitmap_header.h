// The facts of a Windows bitmap file read from its first 54 bytes, so that a
// picture too large or a file cut short is refused before its pixels are
// decoded, and a plain bitmap is known before it is read.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tonobild {

// The file header and the Windows information header that follows it.
constexpr std::int64_t kBitmapHeaderBytes = 54;

struct BitmapHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;      // rows; a negative height in the file (rows top-down) is given as positive
    bool topDown = false;         // the first row in the file is the top row
    std::int64_t pixelBytes = -1; // bytes of pixel data after the data offset; -1 when compressed or beyond any file
    std::int64_t dataOffset = 0;  // where the pixel data starts
    std::int64_t infoHeaderBytes = 0;
    int planes = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;

    // The file length the header promises, or -1 when it cannot be known.
    std::int64_t expectedFileSize() const { return pixelBytes < 0 ? -1 : dataOffset + pixelBytes; }
};

// Bytes of one row of uncompressed pixels: padded to four bytes.
constexpr std::int64_t bitmapRowBytes(std::int64_t width, std::int64_t bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// Reads the file and information headers; empty when the bytes are not a bitmap
// with a Windows information header.
std::optional<BitmapHeader> readBitmapHeader(std::span<const std::uint8_t> start);

} // namespace tonobild
