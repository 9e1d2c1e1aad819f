#include <gtest/gtest.h>

#include <tuple>

#include "common/numbers.h"
#include "common/pass_progress.h"

using namespace tonobild;

TEST(Numbers, RoundHalfEvenFloorDivisionAndIntegerQuotient)
{
    for (const auto& [x, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                                     {-0.25, 0}, {2.500001, 3}, {-2.6, -3}})
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
    // floorDiv rounds toward minus infinity, divideRoundHalfEven half to even.
    for (const auto& [n, quotient] : {std::pair{-1, -1}, {-256, -1}, {-257, -2}, {255, 0}})
        EXPECT_EQ(floorDiv(n, 256), quotient) << n;
    for (const auto& [n, d, quotient] : {std::tuple{2, 4, 0}, {6, 4, 2}, {10, 4, 2}, {-1, 4, 0}, {-2, 4, 0},
                                         {-6, 4, -2}, {55125, 4, 13781}})
        EXPECT_EQ(divideRoundHalfEven(n, d), quotient) << n << " / " << d;
}

// The progress caption of Encode and Decode: the line reached and its pass; line 1 before the
// first line ends, the extra line of the first pass, a negative YShift, the closing group (pass 3).
TEST(PassProgress, NamesTheLineWithinThePictureAndThePassColour)
{
    const struct { int row, rows, pass, value, maximum; const char* caption; } cases[] = {
        {1, 120, 0, 1, 360, "line 1 of 120, pass blue"},       {0, 120, 0, 1, 360, "line 1 of 120, pass blue"},
        {121, 120, 0, 120, 360, "line 120 of 120, pass blue"}, {43, 120, 1, 163, 360, "line 43 of 120, pass green"},
        {480, 480, 2, 1440, 1440, "line 480 of 480, pass red"}, {-5, 240, 2, 481, 720, "line 1 of 240, pass red"},
        {7, 120, 3, 247, 360, "line 7 of 120, pass red"},      {30, 120, -1, 0, 360, "leader"},
    };
    for (const auto& c : cases) {
        const PassProgress progress = passProgress(c.row, c.rows, c.pass);
        EXPECT_EQ(std::tuple(progress.caption, progress.value, progress.maximum),
                  std::tuple(std::string(c.caption), c.value, c.maximum)) << c.row << "/" << c.rows << " pass " << c.pass;
    }
}
