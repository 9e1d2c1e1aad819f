// The cycle detector and normaliser: swings, pairing, the waiting phase and
// the normalised value at both levels.
#include <gtest/gtest.h>

#include <vector>

#include "decoder/cycle_detector.h"
#include "encoder/signal_format.h"

using namespace tonobild;

namespace {

struct Fed {
    std::vector<int> values;
    int ticks = 0;
};

Fed feedAll(CycleDetector& detector, const std::vector<int>& samples)
{
    Fed fed;
    for (int s : samples) {
        const auto event = detector.feed(static_cast<std::uint8_t>(s));
        if (event == CycleDetector::Event::Tick)
            ++fed.ticks;
        else if (event == CycleDetector::Event::Value)
            fed.values.push_back(detector.value());
    }
    return fed;
}

std::vector<int> groupsFor(const std::vector<int>& transmitValues)
{
    std::vector<int> samples;
    for (int v : transmitValues)
        for (std::uint8_t s : pixelGroup(levelOf(v)))
            samples.push_back(s);
    return samples;
}

} // namespace

// Transmit value, value at level 3, value at level 2, for clean groups against the 192 reference.
struct TableRow {
    int transmit;
    int level3;
    int level2;
};

class NormalisedValueTable : public testing::TestWithParam<TableRow> {};

TEST_P(NormalisedValueTable, CleanGroupGivesTheTabledValueAtBothLevels)
{
    const TableRow row = GetParam();
    const int swing = 2 * levelOf(row.transmit) - 256;
    EXPECT_EQ(normalisedValue(swing, 192, 3), row.level3);
    EXPECT_EQ(normalisedValue(swing, 192, 2), row.level2);
    // The order of the two cycles does not matter.
    EXPECT_EQ(normalisedValue(192, swing, 3), row.level3);
    EXPECT_EQ(normalisedValue(192, swing, 2), row.level2);
}

INSTANTIATE_TEST_SUITE_P(Values, NormalisedValueTable,
                         testing::Values(TableRow{-64, -64, -170}, TableRow{0, 0, -85}, TableRow{32, 32, -42},
                                         TableRow{40, 40, -32}, TableRow{64, 64, 0}, TableRow{128, 128, 85},
                                         TableRow{200, 199, 181}, TableRow{255, 255, 255}));

TEST(NormalisedValue, EdgesOfTheScale)
{
    // Equal swings give 255; hi' is held at 1 at least.
    EXPECT_EQ(normalisedValue(100, 100, 2), 255);
    EXPECT_EQ(normalisedValue(7, 7, 3), 255);
    EXPECT_EQ(normalisedValue(0, 0, 3), 0);
    EXPECT_EQ(normalisedValue(0, 0, 2), 0);
    EXPECT_EQ(normalisedValue(1, 2, 2), 0);
    // Unclamped below: a flat cycle against a full one at level 2.
    EXPECT_EQ(normalisedValue(-1, 254, 2), -257);
}

TEST(NormalisedValue, HalvesRoundToEvenAfterDividingFirst)
{
    // hi 192 at level 2: t 96, hi' 96; lo 144 gives lo' 48 and 255 / 96 * 48 = 127.5 -> 128.
    EXPECT_EQ(normalisedValue(144, 192, 2), 128);
    // hi 9 at level 2: t = round(4.5) = 4 (even), hi' 5; lo 5 gives 255 / 5 * 1 = 51.
    EXPECT_EQ(normalisedValue(5, 9, 2), 51);
    // hi 15 at level 2: t = round(7.5) = 8, hi' 7; lo 9 gives 255 / 7 * 1 = 36.43 -> 36.
    EXPECT_EQ(normalisedValue(9, 15, 2), 36);
    // hi 192 at level 3, lo 65: 255 / 128 * 1 = 1.99 -> 2.
    EXPECT_EQ(normalisedValue(65, 192, 3), 2);
    // 255 / 34 * 1 = 7.5 -> 8 (even), and 255 / 34 * 3 = 22.5 -> 22 (even): hi 51 at level 3 gives t 17.
    EXPECT_EQ(normalisedValue(18, 51, 3), 8);
    EXPECT_EQ(normalisedValue(20, 51, 3), 22);
}

TEST(CycleDetector, CleanGroupsGiveOneValuePerGroupAndTwoTicks)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    detector.reset(3);
    // The last group only closes the one before it.
    const Fed fed = feedAll(detector, groupsFor({255, 0, 128, -64, 200, 255}));
    EXPECT_EQ(fed.values, (std::vector<int>{255, 0, 128, -64, 199}));
    EXPECT_EQ(fed.ticks, 12);
}

TEST(CycleDetector, WaitsForTheFirstLowSample)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    detector.reset(3);
    // High samples and 128 while waiting produce nothing, yet they count towards the first cycle's bounds.
    Fed fed = feedAll(detector, {200, 128, 250, 129});
    EXPECT_EQ(fed.ticks, 0);
    EXPECT_EQ(detector.firstSwing(), -1);
    fed = feedAll(detector, {10, 128, 140});
    EXPECT_EQ(fed.ticks, 1);
    EXPECT_EQ(detector.firstSwing(), 250 - 10 - 1);
}

TEST(CycleDetector, SampleOf128NeitherStartsNorEndsACycle)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    detector.reset(3);
    const Fed fed = feedAll(detector, {128, 128, 100, 128, 128, 130});
    EXPECT_EQ(fed.ticks, 1);
    EXPECT_EQ(detector.firstSwing(), 130 - 100 - 1 - 2); // 128..100: the 130 is not yet in the bounds
}

TEST(CycleDetector, SampleThatEndsACycleStartsTheNext)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    detector.reset(3);
    // First cycle 60..100 (swing 39); the 150 that ends it is not in its bounds
    // but opens the second cycle, 30..150 (swing 119).
    const Fed fed = feedAll(detector, {100, 60, 150, 30, 129});
    EXPECT_EQ(fed.values, (std::vector<int>{normalisedValue(39, 119, 3)}));
}

TEST(CycleDetector, FlatFirstCycleLeavesThePairUnstarted)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    detector.reset(3);
    // A cycle whose samples are all one value (100, ended by 200) has swing -1.
    Fed fed = feedAll(detector, {100, 200});
    EXPECT_TRUE(fed.values.empty());
    EXPECT_EQ(detector.firstSwing(), -1);
    // The next cycle is the first of the pair again, the one after it gives the value.
    fed = feedAll(detector, {20, 220, 60, 190});
    ASSERT_EQ(fed.values.size(), 1u);
    EXPECT_EQ(fed.values[0], normalisedValue(200 - 20 - 1, 220 - 60 - 1, 3));
}

TEST(CycleDetector, ThirdEndsACycleAtEverySixthHighSample)
{
    DecoderControls controls;
    controls.third = true;
    CycleDetector detector(controls);
    detector.reset(3);
    std::vector<int> values;
    for (int i = 0; i < 61; ++i)
        values.push_back(i % 3 == 0 ? 0 : (i % 3 == 1 ? 64 : 200));
    const Fed fed = feedAll(detector, groupsFor(values));
    // The first high sample arrives while waiting; the other 120 end a cycle
    // at every sixth: 20 cycles, 10 values. Each cycle spans three groups and
    // holds reference cycles, so every value is 255.
    EXPECT_EQ(fed.values.size(), 10u);
    for (int v : fed.values)
        EXPECT_EQ(v, 255);
}

TEST(CycleDetector, ThirdIsReadAtEveryHighSample)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    detector.reset(3);
    const auto samples = groupsFor({0, 0, 0, 0, 0, 0, 0, 0});
    // Two groups without "Third": one value, and the second group's value cycle is the first of a new pair.
    const Fed before = feedAll(detector, std::vector<int>(samples.begin(), samples.begin() + 8));
    EXPECT_EQ(before.values, (std::vector<int>{0}));
    EXPECT_EQ(detector.firstSwing(), 64);
    // With "Third" ticked the next twelve high samples inside cycles end two
    // cycles, each spanning three groups from a reference low to a reference high.
    controls.third = true;
    const Fed after = feedAll(detector, std::vector<int>(samples.begin() + 8, samples.end()));
    EXPECT_EQ(after.values, (std::vector<int>{normalisedValue(64, 192, 3)}));
    EXPECT_EQ(detector.firstSwing(), 192);
}

TEST(CycleDetector, ValuesFollowTheNormalisingRuleForEverySwingPair)
{
    // A cycle opened by high h and reaching down to low l measures h - l - 1:
    // every swing from 1 to 254 has such a pair of samples.
    const auto high = [](int swing) { return swing <= 127 ? 129 : swing + 1; };
    const auto low = [](int swing) { return swing <= 127 ? 128 - swing : 0; };
    for (int level : {2, 3}) {
        DecoderControls controls;
        CycleDetector detector(controls);
        detector.reset(level);
        feedAll(detector, {0, high(1)});
        int mismatches = 0;
        for (int a = 1; a <= 254; ++a)
            for (int b = 1; b <= 254; ++b) {
                const int nextA = b < 254 ? a : (a % 254) + 1;
                const Fed fed = feedAll(detector, {low(a), high(b), low(b), high(nextA)});
                mismatches += fed.values != std::vector<int>{normalisedValue(a, b, level)};
            }
        EXPECT_EQ(mismatches, 0) << level;
    }
}
