#include "picture/plain_bitmap.h"

#include "common/little_endian.h"
#include "picture/colour.h"

namespace tonobild {

namespace {

constexpr std::int64_t kInfoHeaderBytes = 40;
constexpr int kBitsPerPixel = 24;
constexpr std::uint32_t kPixelsPerMetre = 3937; // 100 dots per inch

std::size_t rowBytes(int width)
{
    return static_cast<std::size_t>(bitmapRowBytes(width, kBitsPerPixel));
}

} // namespace

bool isPlainBitmap(const BitmapHeader& header)
{
    return header.infoHeaderBytes == kInfoHeaderBytes && header.dataOffset == kBitmapHeaderBytes &&
           header.planes == 1 && header.bitsPerPixel == kBitsPerPixel && header.compression == 0 &&
           header.pixelBytes >= 0 && header.width <= kLargestPlainBitmapSide &&
           header.height <= kLargestPlainBitmapSide;
}

std::optional<WorkingPicture> readPlainBitmap(std::span<const std::uint8_t> file)
{
    const std::optional<BitmapHeader> header = readBitmapHeader(file);
    if (!header || !isPlainBitmap(*header) || std::ssize(file) < header->expectedFileSize())
        return std::nullopt;
    const int width = static_cast<int>(header->width);
    const int height = static_cast<int>(header->height);
    std::vector<ColourNumber> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int fileRow = header->topDown ? y : height - 1 - y;
        const std::uint8_t* from = file.data() + kBitmapHeaderBytes + rowBytes(width) * static_cast<std::size_t>(fileRow);
        ColourNumber* to = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x, from += 3)
            to[x] = colourNumber(from[2], from[1], from[0]); // stored blue, green, red
    }
    WorkingPicture picture(0, 0);
    picture.place(width, height, std::move(pixels));
    return picture;
}

std::vector<std::uint8_t> plainBitmap(const WorkingPicture& picture)
{
    const int width = picture.width();
    const int height = picture.height();
    const std::size_t pixelBytes = rowBytes(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> file(static_cast<std::size_t>(kBitmapHeaderBytes) + pixelBytes);
    file[0] = 'B';
    file[1] = 'M';
    putLittleEndian32(file, 2, static_cast<std::uint32_t>(file.size()));
    putLittleEndian32(file, 10, static_cast<std::uint32_t>(kBitmapHeaderBytes));
    putLittleEndian32(file, 14, static_cast<std::uint32_t>(kInfoHeaderBytes));
    putLittleEndian32(file, 18, static_cast<std::uint32_t>(width));
    putLittleEndian32(file, 22, static_cast<std::uint32_t>(height));
    putLittleEndian16(file, 26, 1); // planes
    putLittleEndian16(file, 28, kBitsPerPixel);
    putLittleEndian32(file, 34, static_cast<std::uint32_t>(pixelBytes));
    putLittleEndian32(file, 38, kPixelsPerMetre);
    putLittleEndian32(file, 42, kPixelsPerMetre);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* to = file.data() + kBitmapHeaderBytes + rowBytes(width) * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const auto c = static_cast<std::uint32_t>(picture.colour(x, y));
            *to++ = static_cast<std::uint8_t>(c >> 16); // blue
            *to++ = static_cast<std::uint8_t>(c >> 8);  // green
            *to++ = static_cast<std::uint8_t>(c);       // red
        }
    }
    return file;
}

} // namespace tonobild
