// Plain bitmaps, read and written without Qt: the bytes worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/little_endian.h"
#include "picture/plain_bitmap.h"

using namespace tonobild;

namespace {

// The file of a 2 x 2 picture (red and green on top, blue and white below): 54 header
// bytes, then rows of two pixels (blue, green, red) and two bytes of padding.
const std::vector<std::uint8_t> kFourColoursFile = {
    'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header: size 70, pixels at 54
    40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,            // information header of 40 bytes, 2 x 2
    1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,           // one plane, 24 bits, uncompressed, 16 bytes of pixels
    0x61, 0x0F, 0, 0, 0x61, 0x0F, 0, 0,             // 3937 pixels per metre both ways
    0, 0, 0, 0, 0, 0, 0, 0,                          // no colour table
    0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,              // bottom row: blue, white
    0, 0, 0xFF, 0, 0xFF, 0, 0, 0,                    // top row: red, green
};

} // namespace

TEST(PlainBitmap, IsWrittenBottomRowFirstInPaddedRowsAndReadBackBottomUpOrTopDown)
{
    // A 2 x 2 picture: red and green on top, blue and white (-1, outside any colour) below.
    WorkingPicture fourColours;
    fourColours.place(2, 2, {255, 65280, 16711680, -1});
    EXPECT_EQ(plainBitmap(fourColours), kFourColoursFile);
    const std::vector<ColourNumber> read = {255, 65280, 16711680, 16777215};
    const WorkingPicture picture = readPlainBitmap(kFourColoursFile).value_or(WorkingPicture());
    EXPECT_EQ(std::tuple(picture.pixels(), picture.placedWidth(), picture.placedHeight()), std::tuple(read, 2, 2));
    // Rows top-down: a negative height, the top row first.
    std::vector<std::uint8_t> topDown = kFourColoursFile;
    putLittleEndian32(topDown, 22, static_cast<std::uint32_t>(-2));
    std::copy(kFourColoursFile.begin() + 62, kFourColoursFile.end(), topDown.begin() + 54);
    std::copy(kFourColoursFile.begin() + 54, kFourColoursFile.begin() + 62, topDown.begin() + 62);
    EXPECT_EQ(readPlainBitmap(topDown).value_or(WorkingPicture()).pixels(), read);

    // Four pixels make a row of 12 bytes, no padding: 54 + 2 x 12 bytes, the top row from byte 66 on.
    WorkingPicture wide(4, 2);
    wide.setColour(0, 0, 255);
    const std::vector<std::uint8_t> wideFile = plainBitmap(wide);
    ASSERT_EQ(wideFile.size(), 78u);
    EXPECT_EQ(std::tuple(wideFile[65], wideFile[66], wideFile[67], wideFile[68]), std::tuple(0, 0, 0, 0xFF));
    EXPECT_EQ(readPlainBitmap(wideFile).value_or(WorkingPicture()).pixels(),
              (std::vector<ColourNumber>{255, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PlainBitmap, OnlyUncompressed24BitFilesWithTheShortHeaderNoTableEveryRowAndSidesUpTo4096AreReadHere)
{
    // Each a file of kFourColoursFile with one byte changed.
    const struct { const char* what; std::size_t at; std::uint8_t value; } refused[] = {
        {"not BM", 1, 'A'},          {"32 bits", 28, 32},          {"8 bits", 28, 8},
        {"bit fields", 30, 3},       {"pixels at 58", 10, 58},     {"a larger header", 14, 108},
        {"two planes", 26, 2},       {"no width", 18, 0},          {"no height", 22, 0},
    };
    for (const auto& c : refused) {
        std::vector<std::uint8_t> file = kFourColoursFile;
        file[c.at] = c.value;
        EXPECT_FALSE(readPlainBitmap(file)) << c.what;
    }
    EXPECT_FALSE(readPlainBitmap(std::vector<std::uint8_t>(kFourColoursFile.begin(), kFourColoursFile.end() - 1)));
    EXPECT_FALSE(readPlainBitmap(std::vector<std::uint8_t>(kFourColoursFile.begin(), kFourColoursFile.begin() + 53)));

    // The header announces the pixel bytes in rows padded to four bytes, uncompressed or in bit
    // fields, and no length (-1) rather than an overflowed one for sides no file can hold, for no
    // bits per pixel or for compressed rows; a file of the announced length is read here or not.
    // One row of 4096 pixels (12288 bytes), or one column of 4096 rows of 4 bytes, is read here;
    // 4097 (a row of 12292 bytes, padded, or 4097 rows) is left to Qt. Then 6 bytes of a row padded
    // to 8; rows top-down; 2 bits of a row padded to 4 bytes; 32 bits in bit fields; then sides no
    // file can hold, no bits, run-length coded rows (compression 1).
    const struct { std::int32_t width, height; std::uint8_t bits, compression; std::int64_t fileSize; bool read; }
        headers[] = {
            {4096, 1, 24, 0, 54 + 12288, true}, {4097, 1, 24, 0, 54 + 12292, false},
            {1, 4096, 24, 0, 54 + 16384, true}, {1, 4097, 24, 0, 54 + 16388, false},
            {2, 2, 24, 0, 54 + 2 * 8, true},    {4, -3, 24, 0, 54 + 3 * 12, true},
            {2, 2, 1, 0, 54 + 2 * 4, false},    {2, 2, 32, 3, 54 + 2 * 8, false},
            {2147483647, 2147483647, 24, 0, -1, false}, {2147483647, -2147483647 - 1, 24, 0, -1, false},
            {-7, 5, 24, 0, -1, false}, {0, 5, 24, 0, -1, false}, {2, 2, 0, 0, -1, false}, {2, 2, 8, 1, -1, false}};
    for (const auto& c : headers) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", " << int{c.bits} << " bits, compression "
                                        << int{c.compression});
        std::vector<std::uint8_t> file(kFourColoursFile.begin(), kFourColoursFile.begin() + 54);
        putLittleEndian32(file, 18, static_cast<std::uint32_t>(c.width));
        putLittleEndian32(file, 22, static_cast<std::uint32_t>(c.height));
        file[28] = c.bits;
        file[30] = c.compression;
        const std::optional<BitmapHeader> header = readBitmapHeader(file);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->expectedFileSize(), c.fileSize);
        file.resize(static_cast<std::size_t>(std::max<std::int64_t>(c.fileSize, 54)));
        EXPECT_EQ(readPlainBitmap(file).has_value(), c.read);
    }
    // Fewer than its 54 bytes are no header.
    EXPECT_FALSE(readBitmapHeader(std::vector<std::uint8_t>(kFourColoursFile.begin(), kFourColoursFile.begin() + 53)));
}
