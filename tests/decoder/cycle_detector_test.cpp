// The cycle detector and normaliser: swings, pairing, the waiting phase and
// the normalised value at both levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <vector>

#include "decode_support.h"
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
        fed.ticks += event == CycleDetector::Event::Tick;
        if (event == CycleDetector::Event::Value)
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

TEST(NormalisedValue, CleanGroupsAtBothLevelsAndTheEdgesOfTheScale)
{
    // Transmit value of a clean group against the 192 reference: its value at level 3 and at level 2.
    const struct { int transmit, level3, level2; } table[] = {{-64, -64, -170}, {0, 0, -85},   {32, 32, -42},
                                                              {40, 40, -32},    {64, 64, 0},   {128, 128, 85},
                                                              {200, 199, 181},  {255, 255, 255}};
    for (const auto& row : table) {
        const int swing = 2 * levelOf(row.transmit) - 256;
        EXPECT_EQ(normalisedValue(swing, 192, 3), row.level3) << row.transmit;
        EXPECT_EQ(normalisedValue(192, swing, 3), row.level3) << row.transmit; // either order
        EXPECT_EQ(normalisedValue(swing, 192, 2), row.level2) << row.transmit;
        EXPECT_EQ(normalisedValue(192, swing, 2), row.level2) << row.transmit;
    }
    // Equal swings give 255 and hi' is held at 1 at least; nothing is clamped
    // below; halves round to even after dividing first (hi 9 at level 2: t 4,
    // hi' 5; hi 15: t 8, hi' 7; 255 / 34 = 7.5 -> 8 and 22.5 -> 22).
    const struct { int lo, hi, level, value; } edges[] = {
        {100, 100, 2, 255}, {7, 7, 3, 255},  {0, 0, 3, 0},   {0, 0, 2, 0},     {1, 2, 2, 0},    {-1, 254, 2, -257},
        {144, 192, 2, 128}, {5, 9, 2, 51},   {9, 15, 2, 36}, {65, 192, 3, 2},  {18, 51, 3, 8},  {20, 51, 3, 22},
        // hi' exactly 1: swing 1 (t 0 at either level) and swing 2 at level 2 (t 1) against themselves.
        {1, 1, 3, 255},     {1, 1, 2, 255},  {2, 2, 2, 255}};
    for (const auto& e : edges)
        EXPECT_EQ(normalisedValue(e.lo, e.hi, e.level), e.value) << e.lo << " / " << e.hi << " at " << e.level;
}

TEST(CycleDetector, PairsWaitingPhase128AndFlatCycles)
{
    DecoderControls controls;
    CycleDetector detector(controls);
    const auto fresh = [&](const std::vector<int>& samples) {
        detector.reset(3);
        return feedAll(detector, samples);
    };
    // Clean groups: one value per group, two ticks; the last group only closes the one before it.
    const Fed clean = fresh(groupsFor({255, 0, 128, -64, 200, 255}));
    EXPECT_EQ(clean.values, (std::vector<int>{255, 0, 128, -64, 199}));
    EXPECT_EQ(clean.ticks, 12);
    // High samples and 128 while waiting give nothing, yet count towards the first cycle's bounds.
    EXPECT_EQ(fresh({200, 128, 250, 129}).ticks, 0);
    EXPECT_EQ(detector.firstSwing(), -1);
    EXPECT_EQ(feedAll(detector, {10, 128, 140}).ticks, 1);
    EXPECT_EQ(detector.firstSwing(), 250 - 10 - 1);
    // 128 neither starts nor ends a cycle; the 130 that ends it is not in its bounds.
    EXPECT_EQ(fresh({128, 128, 100, 128, 128, 130}).ticks, 1);
    EXPECT_EQ(detector.firstSwing(), 128 - 100 - 1);
    // The sample that ends a cycle opens the next: 60..100 (swing 39), then 30..150 (119).
    // Level 3: t = 119 / 3 = 39.67 -> 40, hi' 79, lo' -1, 255 / 79 * -1 = -3.23 -> -3.
    EXPECT_EQ(fresh({100, 60, 150, 30, 129}).values, (std::vector<int>{-3}));
    // Swings of 1 (127..129, the first cycle {127} is flat): hi' is 1 and the value 255.
    EXPECT_EQ(fresh({127, 129, 127, 129, 127, 129}).values, (std::vector<int>{255}));
    // The largest swing, 254 (0 and 255), against itself: 255.
    EXPECT_EQ(fresh({0, 255, 0, 255, 0, 255}).values, (std::vector<int>{255}));
    // A cycle of zeros alone is flat too: the maximum starts from 0.
    EXPECT_TRUE(fresh({0, 0, 200}).values.empty());
    EXPECT_EQ(detector.firstSwing(), -1);
    // A flat cycle (100, ended by 200) has swing -1 and leaves the pair unstarted.
    EXPECT_TRUE(fresh({100, 200}).values.empty());
    EXPECT_EQ(detector.firstSwing(), -1);
    // 200..20 (179), then 220..60 (159): t = 59.67 -> 60, 255 / 119 * 99 = 212.1 -> 212.
    EXPECT_EQ(feedAll(detector, {20, 220, 60, 190}).values, (std::vector<int>{212}));
}

TEST(CycleDetector, ThirdEndsACycleAtEverySixthHighSampleAndIsReadAtEach)
{
    DecoderControls controls;
    controls.third = true;
    CycleDetector detector(controls);
    detector.reset(3);
    std::vector<int> values;
    for (int i = 0; i < 61; ++i)
        values.push_back(i % 3 == 0 ? 0 : (i % 3 == 1 ? 64 : 200));
    // The first high sample comes while waiting; the other 120 make 20 cycles,
    // each spanning three groups from a reference low to a reference high.
    EXPECT_EQ(feedAll(detector, groupsFor(values)).values, std::vector<int>(10, 255));

    // After a reset the sixth high sample ends the first cycle, so the 5 before it counts: 200 - 5 - 1.
    detector.reset(3);
    EXPECT_EQ(feedAll(detector, {10, 200, 20, 200, 30, 200, 40, 200, 50, 200, 5, 200}).ticks, 1);
    EXPECT_EQ(detector.firstSwing(), 194);

    // Ticked mid-stream: two groups without it give one value and open a new pair.
    controls.third = false;
    detector.reset(3);
    EXPECT_EQ(feedAll(detector, groupsFor({0, 0})).values, std::vector<int>{0});
    EXPECT_EQ(detector.firstSwing(), 64);
    controls.third = true;
    // The open pair (64) closes with the next group's value cycle of 192 spanned: a black value, 0.
    EXPECT_EQ(feedAll(detector, groupsFor(std::vector<int>(6, 0))).values, std::vector<int>{0});
    EXPECT_EQ(detector.firstSwing(), 192);
}

// 128 is neither low nor high, 127 is low and 129 high, while waiting and
// inside a cycle; a 128 inside a cycle still widens its bounds.
TEST(CycleDetector, OneTwentyEightNeitherStartsNorEndsACycle)
{
    const struct { std::vector<int> samples; int ticks, firstSwing; } cases[] = {
        {{100, 128, 60, 200}, 1, 128 - 60 - 1},  // the 128 is the cycle's maximum
        {{100, 128, 128, 128}, 1, -1},           // still inside the first cycle
        {{128, 128, 128}, 0, -1},                // never leaves the waiting phase
        {{129, 127, 129}, 1, 129 - 127 - 1},     // 127 starts, 129 ends: swing 1
        {{127, 128, 127, 129}, 1, 128 - 127 - 1},         // 128 as the maximum: swing 0
    };
    DecoderControls controls;
    CycleDetector detector(controls);
    for (const auto& c : cases) {
        detector.reset(3);
        EXPECT_EQ(feedAll(detector, c.samples).ticks, c.ticks) << c.samples.size() << " from " << c.samples[0];
        EXPECT_EQ(detector.firstSwing(), c.firstSwing) << c.samples.size() << " from " << c.samples[0];
    }
}

namespace {

constexpr int kTick = INT_MIN; // a tick in a heard stream; any other entry is a value

// Every tick and value in order, heard sample by sample or in blocks; "Third"
// is flipped after every flipEvery events (0: never).
std::vector<int> heard(std::span<const std::uint8_t> stream, int level, bool third, std::size_t flipEvery, bool inBlocks)
{
    DecoderControls controls{.third = third};
    CycleDetector detector(controls);
    detector.reset(level);
    std::vector<int> events;
    const auto hear = [&](int event) {
        events.push_back(event);
        if (flipEvery != 0 && events.size() % flipEvery == 0)
            controls.third = !controls.third;
        return true;
    };
    if (!inBlocks) {
        for (const std::uint8_t sample : stream)
            if (const auto event = detector.feed(sample); event != CycleDetector::Event::None)
                hear(event == CycleDetector::Event::Tick ? kTick : detector.value());
        return events;
    }
    constexpr std::size_t kOddBlock = 4093; // cycles run across block ends
    int ticks = 0; // a step at every tick: each one is heard
    for (std::size_t at = 0; at < stream.size(); at += kOddBlock)
        detector.feedBlock(stream.subspan(at, std::min(kOddBlock, stream.size() - at)), ticks, 0,
                           [&] { return hear(kTick); }, [&](int value) { return hear(value); });
    return events;
}

std::vector<std::uint8_t> impaired(std::vector<std::uint8_t> stream, const std::function<int(int, std::mt19937&)>& change)
{
    std::mt19937 generator(7);
    for (std::uint8_t& sample : stream)
        sample = static_cast<std::uint8_t>(std::clamp(change(sample, generator), 0, 255));
    return stream;
}

} // namespace

// The block loop with its table of swing pairs against feed() and its
// normalisedValue() steps, over whole streams a receiver may get.
TEST(CycleDetector, BlocksHearTheSameTicksAndValuesAsSingleSamples)
{
    using decodetest::encodeStream;
    const WorkingPicture picture = decodetest::testPicture(160, 120);
    const std::vector<std::uint8_t> clean = encodeStream(picture);
    std::vector<std::uint8_t> repeated;
    for (const std::uint8_t sample : clean)
        repeated.insert(repeated.end(), {sample, sample});
    const struct { const char* name; std::vector<std::uint8_t> stream; } streams[] = {
        {"clean", clean},
        {"noise", impaired(clean, [](int s, std::mt19937& g) { return s + static_cast<int>(g() % 41) - 20; })},
        {"half volume", impaired(clean, [](int s, std::mt19937&) { return 128 + (s - 128) / 2; })},
        {"repeated samples", repeated},
        {"cut start", std::vector<std::uint8_t>(clean.begin() + 1001, clean.end())},
        {"random bytes", impaired(clean, [](int, std::mt19937& g) { return static_cast<int>(g() % 256); })},
        {"compand", encodeStream(picture, {}, true)},
    };
    const struct { bool third; std::size_t flipEvery; } thirds[] = {{false, 0}, {true, 0}, {false, 3001}, {true, 20001}};
    for (const auto& [name, stream] : streams)
        for (const int level : {2, 3})
            for (const auto& [third, flipEvery] : thirds) {
                const std::vector<int> reference = heard(stream, level, third, flipEvery, false);
                ASSERT_GT(reference.size(), 1000u) << name;
                EXPECT_EQ(heard(stream, level, third, flipEvery, true), reference)
                    << name << " at level " << level << ", Third " << third << " flipped every " << flipEvery;
            }
}
