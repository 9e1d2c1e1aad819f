// Plain bitmaps: uncompressed 24-bit Windows bitmaps with the 40-byte
// information header and no colour table, the picture files the station
// writes. They are read and written here without Qt, so that tonobild-cli
// starts without Qt's image support for them; every other picture file, and a
// plain bitmap too large for this, goes through Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "picture/bitmap_header.h"
#include "picture/working_picture.h"

namespace tonobild {

// The longest side read here; a larger picture is left to Qt, whose size
// checks and messages then apply.
constexpr std::int64_t kLargestPlainBitmapSide = 4096;

bool isPlainBitmap(const BitmapHeader& header);

// The picture a plain bitmap holds, at its own size; nothing when the bytes are
// not a plain bitmap of at most kLargestPlainBitmapSide a side, or do not hold
// every row the header announces.
std::optional<WorkingPicture> readPlainBitmap(std::span<const std::uint8_t> file);

// The picture as a plain bitmap, bottom row first, byte for byte as Qt writes it
// in a program without a screen (100 dots per inch). A colour number outside
// 0..0xFFFFFF gives the low byte of each component, as the window shows it.
std::vector<std::uint8_t> plainBitmap(const WorkingPicture& picture);

} // namespace tonobild
