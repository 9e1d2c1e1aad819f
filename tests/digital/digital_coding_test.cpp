#include <gtest/gtest.h>

#include "digital/digital_coding.h"

using namespace tonobild;

namespace {

ColourComponents at(const WorkingPicture& picture, int x, int y)
{
    return splitColour(picture.colour(x, y));
}

WorkingPicture filledPicture(int width, int height, ColourNumber colour)
{
    WorkingPicture picture(width, height);
    picture.clear(colour);
    return picture;
}

bool isBandMiddle(int value)
{
    return value % 16 == 7;
}

} // namespace

TEST(DigitalEncode, SpreadsTheWorkedExampleOverItsPair)
{
    WorkingPicture picture = filledPicture(4, 3, kBlack);
    picture.setColour(1, 1, colourNumber(200, 100, 0));
    digitalEncode(picture);
    EXPECT_EQ(at(picture, 1, 1), (ColourComponents{167, 71, 7}));
    EXPECT_EQ(at(picture, 2, 1), (ColourComponents{135, 167, 7}));
    EXPECT_EQ(at(picture, 3, 1), (ColourComponents{7, 7, 7}));
}

TEST(DigitalEncode, CodesEveryPairIntoBandMiddlesAndLeavesColumnAndRowZero)
{
    WorkingPicture picture(9, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            picture.setColour(x, y, colourNumber(29 * x + y, 255 - 31 * y, 17 * x * y % 256));
    const WorkingPicture source = picture;
    digitalEncode(picture);

    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 9; ++x) {
            if (x == 0 || y == 0) {
                EXPECT_EQ(picture.colour(x, y), source.colour(x, y)) << x << "," << y;
                continue;
            }
            const ColourComponents c = at(picture, x, y);
            EXPECT_TRUE(isBandMiddle(c.red) && isBandMiddle(c.green) && isBandMiddle(c.blue)) << x << "," << y;
        }
    }
}

TEST(DigitalEncode, CodingTwiceCodesTheLeftValuesAgain)
{
    WorkingPicture picture = filledPicture(3, 2, kBlack);
    picture.setColour(1, 1, colourNumber(167, 0, 255));
    digitalEncode(picture);
    EXPECT_EQ(at(picture, 1, 1), (ColourComponents{215, 7, 247}));
    EXPECT_EQ(at(picture, 2, 1), (ColourComponents{55, 7, 247}));
}

TEST(DigitalDecode, GivesBackTheWorkedExampleAndValuesDisturbedWithinTheirBands)
{
    for (const auto& [left, right] : {std::pair{ColourComponents{167, 71, 7}, ColourComponents{135, 167, 7}},
                                      std::pair{ColourComponents{160, 71, 7}, ColourComponents{143, 167, 7}},
                                      std::pair{ColourComponents{175, 64, 0}, ColourComponents{128, 160, 15}}}) {
        WorkingPicture picture = filledPicture(3, 2, kBlack);
        picture.setColour(1, 1, colourNumber(left));
        picture.setColour(2, 1, colourNumber(right));
        digitalDecode(picture);
        EXPECT_EQ(at(picture, 2, 1), (ColourComponents{200, 100, 0}));
        EXPECT_EQ(at(picture, 1, 1), (ColourComponents{0, 0, 0})); // the first pair has nothing to blend with
    }
}

TEST(DigitalDecode, UncodedGreyDecodesTo192)
{
    WorkingPicture picture = filledPicture(6, 4, colourNumber(128, 128, 128));
    digitalDecode(picture);
    for (int y = 1; y < 4; ++y) {
        EXPECT_EQ(at(picture, 2, y), (ColourComponents{192, 192, 192}));
        EXPECT_EQ(at(picture, 4, y), (ColourComponents{192, 192, 192}));
        EXPECT_EQ(at(picture, 0, y), (ColourComponents{128, 128, 128}));
    }
    EXPECT_EQ(at(picture, 2, 0), (ColourComponents{128, 128, 128}));
}

TEST(DigitalDecode, ARightPixelOutsideReadsAsRedAndGreen255)
{
    // The pair (1, y), (2, y) of a two-column picture: the right half reads red 1111, green 1111, blue 0000.
    WorkingPicture picture = filledPicture(2, 2, colourNumber(7, 247, 247));
    digitalDecode(picture);
    EXPECT_EQ(at(picture, 1, 1), (ColourComponents{0, 0, 0}));

    WorkingPicture twoRows = filledPicture(2, 3, colourNumber(7, 247, 247));
    digitalDecode(twoRows);
    // Row 2's pair blends with row 1's decoded colour: red 01010101, green 11111111, blue 10101010 both times.
    EXPECT_EQ(at(twoRows, 1, 2), (ColourComponents{85, 255, 170}));
}

TEST(DigitalDecode, BlendsRoundHalfToEven)
{
    for (const auto& [before, expected] : {std::pair{101, 150}, std::pair{103, 152}, std::pair{100, 150}}) {
        WorkingPicture picture = filledPicture(5, 2, kBlack);
        picture.setColour(1, 1, colourNumber(before, 0, 0));
        picture.setColour(3, 1, colourNumber(200, 0, 0));
        digitalEncode(picture);
        digitalDecode(picture);
        EXPECT_EQ(at(picture, 2, 1).red, before);
        EXPECT_EQ(at(picture, 4, 1).red, 200);
        EXPECT_EQ(at(picture, 3, 1).red, expected) << "after " << before;
    }
}

TEST(DigitalDecode, TheFirstPairOfARowBlendsWithTheLastPairAbove)
{
    // Four columns: pairs at x = 1 and x = 3; the right pixel of the last pair lies
    // outside and reads red 1111, green 1111, blue 0000.
    WorkingPicture picture = filledPicture(4, 3, kBlack);
    for (int y = 1; y <= 2; ++y) {
        picture.setColour(1, y, colourNumber(167, 71, 7));
        picture.setColour(2, y, colourNumber(135, 167, 7));
        picture.setColour(3, y, colourNumber(7, 7, 247));
    }
    digitalDecode(picture);
    // The last pair of each row decodes to red 01010101, green 01010101, blue 10101010.
    EXPECT_EQ(at(picture, 2, 1), (ColourComponents{200, 100, 0}));
    EXPECT_EQ(at(picture, 3, 1), (ColourComponents{142, 92, 85})); // 142.5 -> 142, 92.5 -> 92, 85
    EXPECT_EQ(at(picture, 1, 2), (ColourComponents{142, 92, 85})); // (200, 100, 0) after (85, 85, 170)
    EXPECT_EQ(at(picture, 2, 2), (ColourComponents{200, 100, 0}));
}

TEST(DigitalDecode, AnOddWidthEndsEachRowWithAPairWhollyOutside)
{
    // Five columns: the pairs start at x = 1, 3 and 5, and the pair at x = 5 reads
    // (255, 255, 0) twice, decoding to (255, 255, 0) for the next row's first blend.
    WorkingPicture picture = filledPicture(5, 3, kBlack);
    picture.setColour(1, 2, colourNumber(167, 71, 7));
    picture.setColour(2, 2, colourNumber(135, 167, 7));
    digitalDecode(picture);
    EXPECT_EQ(at(picture, 1, 2), (ColourComponents{228, 178, 0})); // (200+255)/2 = 227.5 -> 228, (100+255)/2 = 177.5 -> 178
}

TEST(DigitalCoding, DecodingACodedPictureShiftsItOneColumnRight)
{
    WorkingPicture picture(8, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)
            picture.setColour(x, y, colourNumber(37 * x + 11 * y, 91 * y % 256, (x * x + y) % 256));
    const WorkingPicture source = picture;
    digitalEncode(picture);
    digitalDecode(picture);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x + 1 < 8; x += 2)
            EXPECT_EQ(picture.colour(x + 1, y), source.colour(x, y)) << x << "," << y;
}
