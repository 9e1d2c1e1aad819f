#include <gtest/gtest.h>

#include "encoder/signal_format.h"

using namespace tonobild;

TEST(SignalFormat, LevelsRoundTheQuarterHalfToEven)
{
    EXPECT_EQ(levelOf(-64), 144);
    EXPECT_EQ(levelOf(-1), 160); // -0.25 rounds to 0
    EXPECT_EQ(levelOf(0), 160);
    EXPECT_EQ(levelOf(2), 160);  // 0.5 rounds to 0
    EXPECT_EQ(levelOf(6), 162);  // 1.5 rounds to 2
    EXPECT_EQ(levelOf(10), 162); // 2.5 rounds to 2
    EXPECT_EQ(levelOf(128), 192);
    EXPECT_EQ(levelOf(255), 224);
}

TEST(SignalFormat, PixelGroupIsSymmetricAboutTheMiddle)
{
    const auto group = pixelGroup(levelOf(-64));
    EXPECT_EQ(group, (std::array<std::uint8_t, 4>{144, 111, 224, 31}));
    EXPECT_EQ(pixelGroup(224), (std::array<std::uint8_t, 4>{224, 31, 224, 31}));
}

TEST(SignalFormat, CompandFoldsIntoTheUpperHalf)
{
    EXPECT_EQ(compandValue(0), 128);
    EXPECT_EQ(compandValue(255), 255);
    EXPECT_EQ(compandValue(-1), 127);
}

TEST(SignalFormat, LeaderLengthsAreCountedAt11025)
{
    EXPECT_EQ(leaderGroups(5), 13781);
    EXPECT_EQ(leaderGroups(1), 2756);
}

TEST(SignalFormat, GetbinWritesElevenDigitsLeastSignificantFirst)
{
    std::string digits;
    getbin(0, digits);
    EXPECT_EQ(digits, "00000000000");
    getbin(5, digits);
    EXPECT_EQ(digits, "10100000000");
    getbin(1440, digits);
    EXPECT_EQ(digits, "00000101101");
    getbin(2047, digits);
    EXPECT_EQ(digits, "11111111111");
}
