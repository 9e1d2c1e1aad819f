#include <gtest/gtest.h>

#include "common/numbers.h"

using namespace tonobild;

TEST(Numbers, RoundHalfEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-0.25), 0);
    EXPECT_EQ(roundHalfEven(2.500001), 3);
    EXPECT_EQ(roundHalfEven(-2.6), -3);
}

TEST(Numbers, FloorDivisionRoundsTowardMinusInfinity)
{
    EXPECT_EQ(floorDiv(-1, 256), -1);
    EXPECT_EQ(floorDiv(-256, 256), -1);
    EXPECT_EQ(floorDiv(-257, 256), -2);
    EXPECT_EQ(floorDiv(255, 256), 0);
}

TEST(Numbers, IntegerQuotientRoundsHalfToEven)
{
    EXPECT_EQ(divideRoundHalfEven(2, 4), 0);
    EXPECT_EQ(divideRoundHalfEven(6, 4), 2);
    EXPECT_EQ(divideRoundHalfEven(10, 4), 2);
    EXPECT_EQ(divideRoundHalfEven(-1, 4), 0);
    EXPECT_EQ(divideRoundHalfEven(-2, 4), 0);
    EXPECT_EQ(divideRoundHalfEven(-6, 4), -2);
    EXPECT_EQ(divideRoundHalfEven(55125, 4), 13781);
}
