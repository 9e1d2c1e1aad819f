// Plain bitmaps, read and written without Qt: the bytes worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

#include "picture/plain_bitmap.h"

using namespace tonobild;

namespace {

// A 2 x 2 picture: red and green on top, blue and white (-1, outside any colour) below.
WorkingPicture fourColours()
{
    WorkingPicture picture(2, 2);
    picture.setColour(0, 0, 255);
    picture.setColour(1, 0, 65280);
    picture.setColour(0, 1, 16711680);
    picture.setColour(1, 1, -1);
    return picture;
}

// Its file: 54 header bytes, then rows of two pixels (blue, green, red) and two bytes of padding.
const std::vector<std::uint8_t> kFourColoursFile = {
    'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header: size 70, pixels at 54
    40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,            // information header of 40 bytes, 2 x 2
    1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,           // one plane, 24 bits, uncompressed, 16 bytes of pixels
    0x61, 0x0F, 0, 0, 0x61, 0x0F, 0, 0,             // 3937 pixels per metre both ways
    0, 0, 0, 0, 0, 0, 0, 0,                          // no colour table
    0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,              // bottom row: blue, white
    0, 0, 0xFF, 0, 0xFF, 0, 0, 0,                    // top row: red, green
};

std::vector<ColourNumber> pixelsOf(const std::optional<WorkingPicture>& picture)
{
    return picture ? picture->pixels() : std::vector<ColourNumber>{};
}

} // namespace

TEST(PlainBitmap, IsWrittenBottomRowFirstInPaddedRowsAndReadBackBottomUpOrTopDown)
{
    EXPECT_EQ(plainBitmap(fourColours()), kFourColoursFile);
    const std::vector<ColourNumber> read = {255, 65280, 16711680, 16777215};
    EXPECT_EQ(pixelsOf(readPlainBitmap(kFourColoursFile)), read);
    // Rows top-down: a negative height, the top row first.
    std::vector<std::uint8_t> topDown = kFourColoursFile;
    topDown[22] = 0xFE; // -2
    topDown[23] = topDown[24] = topDown[25] = 0xFF;
    std::copy(kFourColoursFile.begin() + 62, kFourColoursFile.end(), topDown.begin() + 54);
    std::copy(kFourColoursFile.begin() + 54, kFourColoursFile.begin() + 62, topDown.begin() + 62);
    EXPECT_EQ(pixelsOf(readPlainBitmap(topDown)), read);
    const std::optional<WorkingPicture> picture = readPlainBitmap(kFourColoursFile);
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::tuple(picture->placedWidth(), picture->placedHeight()), std::tuple(2, 2));
}

TEST(PlainBitmap, OnlyUncompressed24BitFilesWithTheShortHeaderNoTableEveryRowAndSidesUpTo4096AreReadHere)
{
    struct Change {
        const char* what;
        std::size_t at;
        std::uint8_t value;
    };
    const Change refused[] = {
        {"not BM", 1, 'A'},          {"32 bits", 28, 32},          {"8 bits", 28, 8},
        {"bit fields", 30, 3},       {"pixels at 58", 10, 58},     {"a larger header", 14, 108},
        {"two planes", 26, 2},       {"no width", 18, 0},          {"no height", 22, 0},
    };
    for (const Change& c : refused) {
        std::vector<std::uint8_t> file = kFourColoursFile;
        file[c.at] = c.value;
        EXPECT_FALSE(readPlainBitmap(file)) << c.what;
    }
    EXPECT_FALSE(readPlainBitmap(std::vector<std::uint8_t>(kFourColoursFile.begin(), kFourColoursFile.end() - 1)));
    EXPECT_FALSE(readPlainBitmap(std::vector<std::uint8_t>(kFourColoursFile.begin(), kFourColoursFile.begin() + 53)));

    // One row of 4096 pixels (12288 bytes) is read here; 4097 (12292 bytes, padded) is left to Qt.
    for (const auto& [width, rowBytes, isRead] : {std::tuple{4096, 12288, true}, {4097, 12292, false}}) {
        std::vector<std::uint8_t> file(kFourColoursFile.begin(), kFourColoursFile.begin() + 54);
        file.resize(54 + static_cast<std::size_t>(rowBytes));
        file[18] = static_cast<std::uint8_t>(width & 0xFF);
        file[19] = static_cast<std::uint8_t>(width >> 8);
        file[22] = 1;
        EXPECT_EQ(readPlainBitmap(file).has_value(), isRead) << width;
    }
}
