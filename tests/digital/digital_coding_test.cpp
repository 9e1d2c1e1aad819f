#include <gtest/gtest.h>

#include <tuple>

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

// Values disturbed within their bands decode the same; uncoded grey (128,
// digits 1000 in both halves) decodes to 192 in every row but row 0. Decoding
// blends the left pixel, rounding half to even, with the pair before or the row above.
TEST(DigitalCoding, TheWorkedExampleCodesValuesWithinTheirBandsDecodeTheSameAndTheLeftPixelIsBlendedHalfToEven)
{
    WorkingPicture picture = rowOne(4, 3, {{200, 100, 0}});
    digitalEncode(picture);
    // Column and row 0 stay as they were.
    EXPECT_EQ((std::vector{at(picture, 1, 1), at(picture, 2, 1), at(picture, 0, 1)}),
              (std::vector<ColourComponents>{{167, 71, 7}, {135, 167, 7}, {0, 0, 0}}));
    const ColourComponents grey{128, 128, 128};
    const struct { ColourComponents left, right, decoded; } cases[] = {
        {{167, 71, 7}, {135, 167, 7}, {200, 100, 0}}, {{160, 71, 7}, {143, 167, 7}, {200, 100, 0}},
        {{175, 64, 0}, {128, 160, 15}, {200, 100, 0}}, {grey, grey, {192, 192, 192}}};
    for (const auto& c : cases) {
        picture = rowOne(3, 2, {c.left, c.right});
        digitalDecode(picture);
        // The first pair has nothing to blend with.
        EXPECT_EQ(std::pair(at(picture, 2, 1), at(picture, 1, 1)), std::pair(c.decoded, ColourComponents{0, 0, 0}));
    }
    picture = WorkingPicture(6, 4);
    picture.clear(colourNumber(grey));
    digitalDecode(picture);
    EXPECT_EQ(std::pair(at(picture, 4, 3), at(picture, 2, 0)), std::pair(ColourComponents{192, 192, 192}, grey));

    for (const auto& [before, expected] : {std::pair{101, 150}, std::pair{103, 152}, std::pair{100, 150}}) {
        picture = rowOne(5, 2, {{before, 0, 0}, {0, 0, 0}, {200, 0, 0}});
        digitalEncode(picture);
        digitalDecode(picture);
        EXPECT_EQ(std::tuple(at(picture, 2, 1).red, at(picture, 3, 1).red, at(picture, 4, 1).red),
                  std::tuple(before, expected, 200)) << "after " << before;
    }
    // Four columns: the right pixel of the pair at x = 3 lies outside and reads red and
    // green 1111, blue 0000, so that pair decodes to (85, 85, 170) in every row.
    picture = rowOne(4, 3, {{167, 71, 7}, {135, 167, 7}, {7, 7, 247}});
    for (int x = 1; x <= 3; ++x)
        picture.setColour(x, 2, picture.colour(x, 1));
    digitalDecode(picture);
    // 142.5 -> 142 and 92.5 -> 92 at (3, 1) and, for (200, 100, 0) after (85, 85, 170), at (1, 2).
    EXPECT_EQ((std::vector{at(picture, 3, 1), at(picture, 1, 2), at(picture, 2, 2)}),
              (std::vector<ColourComponents>{{142, 92, 85}, {142, 92, 85}, {200, 100, 0}}));
}
