// The transmission watch on hand-made cycles.
//
// A square wave of two low and two high samples from sample 0 on: the first
// cycle closes at sample 2 (length 2), every later one four samples on, cycle
// k at 2 + 4 (k - 1). Cycle 2 is not in step with cycle 1 (4 against 2);
// cycles 3 on are, so the run starts at sample 6 and its 64th cycle (cycle 66)
// closes at 262. At 44100 a sender's cycle is at most 2 * 6 + 1 = 13 samples.
#include <gtest/gtest.h>

#include <vector>

#include "receiver/transmission_watch.h"

namespace tonobild {
namespace {

using Event = TransmissionWatch::Event;

struct Seen {
    Event event;
    std::uint64_t at;
    friend bool operator==(const Seen&, const Seen&) = default;
};

void square(std::vector<int>& samples, int cycles, int low = 40, int high = 216, int hold = 2)
{
    for (int i = 0; i < cycles; ++i) {
        samples.insert(samples.end(), static_cast<std::size_t>(hold), low);
        samples.insert(samples.end(), static_cast<std::size_t>(hold), high);
    }
}

std::vector<Seen> events(TransmissionWatch& watcher, const std::vector<int>& samples)
{
    std::vector<Seen> seen;
    for (const int sample : samples) {
        const std::uint64_t at = watcher.position();
        if (const Event event = watcher.feed(static_cast<std::uint8_t>(sample)); event != Event::None)
            seen.push_back({event, at});
    }
    return seen;
}

TEST(TransmissionWatch, SixtyFourCyclesInStepMakeARunAndSilenceEndsIt)
{
    struct Case {
        const char* what;
        std::uint32_t rate;
        int cycles;
        int low;
        int high;
        std::vector<Seen> expected;
    };
    // After the cycles, 20 samples of the middle level: nothing closes, and 14
    // samples after the last close (262) the signal counts as lost.
    const Case cases[] = {
        {"64 in step", 44100, 66, 40, 216, {{Event::SignalFound, 262}, {Event::SignalLost, 276}}},
        {"63 in step", 44100, 65, 40, 216, {}},
        {"swing 16", 44100, 66, 120, 136, {{Event::SignalFound, 262}, {Event::SignalLost, 276}}},
        {"swing 15 is hiss", 44100, 66, 121, 136, {}},
        {"cycles of 4 are too long at 8000", 8000, 66, 40, 216, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<int> samples;
        square(samples, c.cycles, c.low, c.high);
        samples.insert(samples.end(), 20, 128);
        TransmissionWatch watcher(c.rate);
        EXPECT_EQ(events(watcher, samples), c.expected);
        if (!c.expected.empty()) {
            EXPECT_EQ(watcher.runStart(), 6u);
            EXPECT_EQ(watcher.lastSteadyEnd(), 262u);
            EXPECT_DOUBLE_EQ(watcher.cycleLength(), 4.0);
        }
    }
}

TEST(TransmissionWatch, ACycleOutOfStepEndsTheRunWhereItBegan)
{
    // 70 cycles (the last closes at 278), then one with holds of 3 (length 5,
    // closing at 283) stays in step; one with holds of 4 (length 6, closing
    // at 284) is 2 longer than a quarter of 4 allows.
    std::vector<int> samples;
    square(samples, 70);
    std::vector<int> slower = samples;
    square(samples, 1, 40, 216, 3);
    TransmissionWatch inStep(44100);
    EXPECT_EQ(events(inStep, samples), (std::vector<Seen>{{Event::SignalFound, 262}}));
    square(slower, 1, 40, 216, 4);
    TransmissionWatch outOfStep(44100);
    EXPECT_EQ(events(outOfStep, slower), (std::vector<Seen>{{Event::SignalFound, 262}, {Event::SignalLost, 284}}));
    EXPECT_EQ(outOfStep.lastSteadyEnd(), 278u);
}

TEST(TransmissionWatch, FourThousandCyclesOfOneSwingAreALeader)
{
    // Cycle 2 is the first whose swing (176) a later one repeats two on: from
    // cycle 4 (starting at 10) on every cycle has the swing of the one two
    // before, and the 4000th of them, cycle 4003, closes at 16010.
    std::vector<int> samples;
    square(samples, 4002);
    TransmissionWatch watcher(44100);
    EXPECT_EQ(events(watcher, samples), (std::vector<Seen>{{Event::SignalFound, 262}}));
    square(samples, 1);
    TransmissionWatch leader(44100);
    EXPECT_EQ(events(leader, samples), (std::vector<Seen>{{Event::SignalFound, 262}, {Event::LeaderFound, 16010}}));
    EXPECT_EQ(leader.leaderStart(), 10u);
}

} // namespace
} // namespace tonobild
