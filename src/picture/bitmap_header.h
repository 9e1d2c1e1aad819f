// The size facts of a Windows bitmap file read from its first 54 bytes, so that
// a picture too large or a file cut short is refused before its pixels are decoded.
#pragma once

#include <QByteArray>
#include <optional>

namespace tonobild {

struct BitmapHeader {
    qint64 width = 0;
    qint64 height = 0;        // rows; a negative height in the file (rows top-down) is given as positive
    qint64 pixelBytes = -1;   // bytes of pixel data after the data offset; -1 when compressed or beyond any file
    qint64 dataOffset = 0;    // where the pixel data starts

    // The file length the header promises, or -1 when it cannot be known.
    qint64 expectedFileSize() const { return pixelBytes < 0 ? -1 : dataOffset + pixelBytes; }
};

// Reads the file and information headers; empty when the bytes are not a bitmap
// with a Windows information header.
std::optional<BitmapHeader> readBitmapHeader(const QByteArray& start);

} // namespace tonobild
