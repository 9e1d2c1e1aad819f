// The cycle detector and normaliser: swings, pairing, the waiting phase and
// the normalised value at both levels.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "decode_support.h" // with the cycle detector and the signal format
#include "support/test_data.h"

using namespace tonobild;

namespace {

constexpr int kTick = INT_MIN; // a tick among the events heard; any other entry is a value

struct Heard { std::vector<int> events; int firstSwing; };

// Every value in order and the ticks that end a step (every tick when
// ticksPerStep is 0, else every ticksPerStep + 1st), heard sample by sample
// or in blocks, and the first swing left open; "Third" is flipped at every
// flipEvery-th step (0: never), where a host may change it.
Heard heard(std::span<const std::uint8_t> stream, int level, bool third, std::size_t flipEvery, bool inBlocks,
            int ticksPerStep = 0)
{
    DecoderControls controls{.third = third};
    CycleDetector detector(controls);
    detector.reset(level);
    std::vector<int> events;
    std::size_t steps = 0;
    const auto step = [&] {
        events.push_back(kTick);
        if (flipEvery != 0 && ++steps % flipEvery == 0)
            controls.third = !controls.third;
        return true;
    };
    const auto hearValues = [&](std::span<const std::int16_t> values) {
        events.insert(events.end(), values.begin(), values.end());
        return CycleDetector::ValuesTaken{values.size(), true};
    };
    constexpr std::size_t kOddBlock = 4093; // cycles run across block ends
    int ticks = 0;
    for (std::size_t at = 0; inBlocks && at < stream.size(); at += kOddBlock)
        detector.feedBlock(stream.subspan(at, std::min(kOddBlock, stream.size() - at)), ticks, ticksPerStep, step,
                           hearValues);
    for (const std::uint8_t sample : inBlocks ? std::span<const std::uint8_t>() : stream) {
        const auto event = detector.feed(sample);
        if (event == CycleDetector::Event::Tick && ++ticks > ticksPerStep) {
            ticks = 0;
            step();
        } else if (event == CycleDetector::Event::Value) {
            events.push_back(detector.value());
        }
    }
    return {events, detector.firstSwing()};
}

// Clean groups of n transmit values (all of them when n is 0), the list repeated as needed.
std::vector<std::uint8_t> groupsFor(const std::vector<int>& values, std::size_t n = 0)
{
    std::vector<std::uint8_t> samples;
    for (std::size_t i = 0; i < (n != 0 ? n : values.size()); ++i)
        for (std::uint8_t s : pixelGroup(levelOf(values[i % values.size()])))
            samples.push_back(s);
    return samples;
}

std::vector<std::uint8_t> impaired(std::vector<std::uint8_t> stream, const std::function<int(int, std::mt19937&)>& change)
{
    std::mt19937 generator(7);
    for (std::uint8_t& sample : stream)
        sample = static_cast<std::uint8_t>(std::clamp(change(sample, generator), 0, 255));
    return stream;
}

} // namespace

TEST(NormalisedValue, CleanGroupsAtBothLevelsAndTheEdgesOfTheScale)
{
    // Transmit value of a clean group against the 192 reference: its value at level 3 and at level 2.
    const struct { int transmit, level3, level2; } table[] = {{-64, -64, -170}, {0, 0, -85},    {32, 32, -42},
                                                              {40, 40, -32},    {64, 64, 0},    {128, 128, 85},
                                                              {200, 199, 181},  {255, 255, 255}};
    for (const auto& row : table) {
        const int swing = 2 * levelOf(row.transmit) - 256;
        // Either order of the two swings.
        EXPECT_EQ((std::vector<int>{normalisedValue(swing, 192, 3), normalisedValue(192, swing, 3), normalisedValue(swing, 192, 2),
                                    normalisedValue(192, swing, 2)}),
                  (std::vector{row.level3, row.level3, row.level2, row.level2})) << row.transmit;
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

// Each stream heard after a reset at level 3, sample by sample and in blocks:
// the values, the ticks and the first swing left open. A cycle runs from the
// tick (the first low sample after waiting) to the next high one, its bounds
// counting every sample since the last cycle ended; 128 is neither low nor
// high, 127 is low and 129 high.
TEST(CycleDetector, PairsWaitingPhase128AndFlatCycles)
{
    const struct { bool third; std::size_t flipEvery; std::vector<std::uint8_t> samples; std::vector<int> values;
                   int ticks, firstSwing; } cases[] = {
        // Clean groups: one value per group, two ticks; the last group only opens a pair (2 * 224 - 256).
        {false, 0, groupsFor({255, 0, 128, -64, 200, 255}), {255, 0, 128, -64, 199}, 12, 192},
        // High samples and 128 while waiting give nothing, yet count towards the first cycle's bounds.
        {false, 0, {200, 128, 250, 129, 10, 128, 140}, {}, 1, 250 - 10 - 1},
        // 128 neither starts nor ends a cycle; the 130 that ends it is not in its bounds.
        {false, 0, {128, 128, 100, 128, 128, 130}, {}, 1, 128 - 100 - 1},
        {false, 0, {100, 128, 60, 200}, {}, 1, 128 - 60 - 1}, // the 128 is the cycle's maximum
        {false, 0, {100, 128, 128, 128}, {}, 1, -1},          // still inside the first cycle
        {false, 0, {128, 128, 128}, {}, 0, -1},               // never leaves the waiting phase
        {false, 0, {129, 127, 129}, {}, 1, 129 - 127 - 1},    // 127 starts, 129 ends: swing 1
        {false, 0, {127, 128, 127, 129}, {}, 1, 128 - 127 - 1}, // 128 as the maximum: swing 0
        // The sample that ends a cycle opens the next: 60..100 (swing 39), then 30..150 (119).
        // t = 119 / 3 = 39.67 -> 40, hi' 79, lo' -1, 255 / 79 * -1 = -3.23 -> -3.
        {false, 0, {100, 60, 150, 30, 129}, {-3}, 2, -1},
        // The flat first cycle {127} leaves the pair unstarted; swings of 1 give hi' 1 and 255.
        {false, 0, {127, 129, 127, 129, 127, 129}, {255}, 3, -1},
        // A cycle of zeros is flat too (the maximum starts from 0); then the largest swing, 254, twice.
        {false, 0, {0, 255, 0, 255, 0, 255}, {255}, 3, -1},
        {false, 0, {0, 0, 200}, {}, 1, -1},
        // Flat (100, ended by 200), then 200..20 (179) and 220..60 (159): t = 59.67 -> 60, 255 / 119 * 99 -> 212.
        {false, 0, {100, 200, 20, 220, 60, 190}, {212}, 3, -1},
        // "Third": after a reset the sixth high sample ends the first cycle, so the 5 before it counts.
        {true, 0, {10, 200, 20, 200, 30, 200, 40, 200, 50, 200, 5, 200}, {}, 1, 200 - 5 - 1},
        // 61 groups of 0, 64, 200: the first high sample comes while waiting, the next 120 make 20 cycles,
        // each spanning three groups from a reference low to a reference high; the last high ends none.
        {true, 0, groupsFor({0, 64, 200}, 61), std::vector<int>(10, 255), 21, -1},
        // "Third" ticked at the fourth tick, the last of two groups without it (one value, a new
        // pair of 64 opened): the pair closes with the next group's value cycle of 192 spanned, a black
        // value, and the sixth group ends the first cycle of the next pair.
        {false, 4, groupsFor({0}, 8), {0, 0}, 6, 192},
    };
    for (const auto& c : cases)
        for (const bool inBlocks : {false, true}) {
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << (inBlocks ? " in blocks" : ""));
            Heard h = heard(c.samples, 3, c.third, c.flipEvery, inBlocks);
            const auto ticks = static_cast<int>(std::erase(h.events, kTick)); // leaves the values
            EXPECT_EQ(std::tuple(h.events, ticks, h.firstSwing),
                      std::tuple(c.values, c.ticks, c.firstSwing));
        }
}

// The block loop with its table of swing pairs and its clean groups against
// feed() and its normalisedValue() steps, over whole streams a receiver may
// get, with a step at every tick and at every 1001st (where most groups are
// clean ones).
TEST(CycleDetector, BlocksHearTheSameTicksAndValuesAsSingleSamples)
{
    using decodetest::encodeStream;
    const WorkingPicture picture = decodetest::testPicture(160, 120);
    const std::vector<std::uint8_t> clean = encodeStream(picture);
    const struct { const char* name; std::vector<std::uint8_t> stream; } streams[] = {
        {"clean", clean}, {"repeated samples", testdata::held(clean, 2)}, {"compand", encodeStream(picture, {}, true)},
        {"noise", impaired(clean, [](int s, std::mt19937& g) { return s + static_cast<int>(g() % 41) - 20; })},
        {"half volume", impaired(clean, [](int s, std::mt19937&) { return 128 + (s - 128) / 2; })},
        {"cut start", std::vector<std::uint8_t>(clean.begin() + 1001, clean.end())},
        {"random bytes", impaired(clean, [](int, std::mt19937& g) { return static_cast<int>(g() % 256); })},
    };
    const struct { bool third; std::size_t flipEvery; } thirds[] = {{false, 0}, {true, 0}, {false, 3}, {true, 2001}};
    for (const auto& [name, stream] : streams)
        for (const int level : {2, 3})
            for (const auto& [third, flipEvery] : thirds)
                for (const int ticksPerStep : {0, 1000}) {
                    const Heard reference = heard(stream, level, third, flipEvery, false, ticksPerStep);
                    ASSERT_GT(reference.events.size(), 1000u) << name;
                    const Heard blocks = heard(stream, level, third, flipEvery, true, ticksPerStep);
                    EXPECT_EQ(std::tie(blocks.events, blocks.firstSwing), std::tie(reference.events, reference.firstSwing))
                        << name << " at level " << level << ", Third " << third << " flipped every " << flipEvery << " steps"
                        << ", a step every " << ticksPerStep + 1 << " ticks";
                }
}
