#include <gtest/gtest.h>

#include "digital/digital_coding.h"

using namespace tonobild;

namespace {

ColourComponents at(const WorkingPicture& picture, int x, int y)
{
    return splitColour(picture.colour(x, y));
}

// A black picture with the given pixels of row 1, from column 1 on.
WorkingPicture rowOne(int width, int height, std::initializer_list<ColourComponents> pixels)
{
    WorkingPicture picture(width, height);
    int x = 1;
    for (const ColourComponents& c : pixels)
        picture.setColour(x++, 1, colourNumber(c));
    return picture;
}

} // namespace

TEST(DigitalCoding, TheWorkedExampleCodesAndValuesDisturbedWithinTheirBandsDecodeTheSame)
{
    WorkingPicture picture = rowOne(4, 3, {{200, 100, 0}});
    digitalEncode(picture);
    EXPECT_EQ(at(picture, 1, 1), (ColourComponents{167, 71, 7}));
    EXPECT_EQ(at(picture, 2, 1), (ColourComponents{135, 167, 7}));
    EXPECT_EQ(at(picture, 0, 1), (ColourComponents{0, 0, 0})); // column and row 0 stay as they were
    for (const auto& [left, right] : {std::pair{ColourComponents{167, 71, 7}, ColourComponents{135, 167, 7}},
                                      std::pair{ColourComponents{160, 71, 7}, ColourComponents{143, 167, 7}},
                                      std::pair{ColourComponents{175, 64, 0}, ColourComponents{128, 160, 15}}}) {
        picture = rowOne(3, 2, {left, right});
        digitalDecode(picture);
        EXPECT_EQ(at(picture, 2, 1), (ColourComponents{200, 100, 0}));
        EXPECT_EQ(at(picture, 1, 1), (ColourComponents{0, 0, 0})); // the first pair has nothing to blend with
    }
}

TEST(DigitalCoding, UncodedGreyDecodesTo192)
{
    WorkingPicture picture(6, 4);
    picture.clear(colourNumber(128, 128, 128));
    digitalDecode(picture);
    for (const auto& [x, y] : {std::pair{2, 1}, std::pair{4, 3}})
        EXPECT_EQ(at(picture, x, y), (ColourComponents{192, 192, 192}));
    EXPECT_EQ(at(picture, 2, 0), (ColourComponents{128, 128, 128}));
}

TEST(DigitalCoding, DecodingBlendsTheLeftPixelRoundingHalfToEvenWithThePairBeforeOrTheRowAbove)
{
    for (const auto& [before, expected] : {std::pair{101, 150}, std::pair{103, 152}, std::pair{100, 150}}) {
        WorkingPicture picture = rowOne(5, 2, {{before, 0, 0}, {0, 0, 0}, {200, 0, 0}});
        digitalEncode(picture);
        digitalDecode(picture);
        EXPECT_EQ(at(picture, 2, 1).red, before);
        EXPECT_EQ(at(picture, 3, 1).red, expected) << "after " << before;
        EXPECT_EQ(at(picture, 4, 1).red, 200);
    }
    // Four columns: the right pixel of the pair at x = 3 lies outside and reads red and
    // green 1111, blue 0000, so that pair decodes to (85, 85, 170) in every row.
    WorkingPicture picture = rowOne(4, 3, {{167, 71, 7}, {135, 167, 7}, {7, 7, 247}});
    for (int x = 1; x <= 3; ++x)
        picture.setColour(x, 2, picture.colour(x, 1));
    digitalDecode(picture);
    EXPECT_EQ(at(picture, 3, 1), (ColourComponents{142, 92, 85})); // 142.5 -> 142, 92.5 -> 92
    EXPECT_EQ(at(picture, 1, 2), (ColourComponents{142, 92, 85})); // (200, 100, 0) after (85, 85, 170)
    EXPECT_EQ(at(picture, 2, 2), (ColourComponents{200, 100, 0}));
}
