#include <gtest/gtest.h>

#include <tuple>

#include "common/numbers.h"

using namespace tonobild;

TEST(Numbers, RoundHalfEven)
{
    for (const auto& [x, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                                     {-0.25, 0}, {2.500001, 3}, {-2.6, -3}})
        EXPECT_EQ(roundHalfEven(x), rounded) << x;
}

TEST(Numbers, FloorDivisionRoundsTowardMinusInfinity)
{
    for (const auto& [n, quotient] : {std::pair{-1, -1}, {-256, -1}, {-257, -2}, {255, 0}})
        EXPECT_EQ(floorDiv(n, 256), quotient) << n;
}

TEST(Numbers, IntegerQuotientRoundsHalfToEven)
{
    for (const auto& [n, d, quotient] : {std::tuple{2, 4, 0}, {6, 4, 2}, {10, 4, 2}, {-1, 4, 0}, {-2, 4, 0},
                                         {-6, 4, -2}, {55125, 4, 13781}})
        EXPECT_EQ(divideRoundHalfEven(n, d), quotient) << n << " / " << d;
}
