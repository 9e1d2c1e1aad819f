// The transmission watch of the station's own format, on hand-made cycles.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "detector/transmission_watch.h"

namespace tonobild {
namespace {

// The transmission watch on a square wave of two low and two high samples from
// sample 0 on: the first
// cycle closes at sample 2 (length 2), every later one four samples on, cycle
// k at 2 + 4 (k - 1). Cycle 2 is not in step with cycle 1 (4 against 2);
// cycles 3 on are, so the run starts at sample 6 and its 64th cycle (cycle 66)
// closes at 262. At 44100 a sender's cycle is at most 2 * 6 + 1 = 13 samples.
using Event = TransmissionWatch::Event;

using Seen = std::pair<Event, std::uint64_t>; // what, and the sample it came at

// After the cycles, 20 samples of the middle level: nothing closes, and 14
// samples after the last close (262) the signal counts as lost. Or, after 70
// cycles (the last closes at 278), one with holds of 3 (length 5, closing at
// 283) stays in step; one with holds of 4 (length 6, closing at 284) is 2
// longer than a quarter of 4 allows. Cycle 2 is the first whose swing (176) a
// later one repeats two on: from cycle 4 (starting at 10) on every cycle has
// the swing of the one two before, and the 4000th of them, cycle 4003, closes at 16010.
TEST(TransmissionWatch, SixtyFourCyclesInStepMakeARunSilenceOrACycleOutOfStepEndItAndOneSwingLongEnoughIsALeader)
{
    const Seen found = {Event::SignalFound, 262};
    const std::vector<Seen> run = {found, {Event::SignalLost, 276}};
    // what, rate, cycles, low, high, then one cycle with this hold (0: 20 samples of 128; -1: nothing) -> events
    const std::tuple<const char*, std::uint32_t, int, int, int, int, std::vector<Seen>> cases[] = {
        {"64 in step", 44100, 66, 40, 216, 0, run}, {"63 in step", 44100, 65, 40, 216, 0, {}},
        {"swing 16", 44100, 66, 120, 136, 0, run}, {"swing 15 is hiss", 44100, 66, 121, 136, 0, {}},
        {"cycles of 4 are too long at 8000", 8000, 66, 40, 216, 0, {}},
        {"128 is not low: no cycle begins", 44100, 66, 128, 216, 0, {}},
        {"128 is not high: no cycle ends", 44100, 66, 40, 128, 0, {}},
        {"hold 3 in step", 44100, 70, 40, 216, 3, {found}}, {"3999 of one swing", 44100, 4002, 40, 216, -1, {found}},
        {"hold 4 out of step", 44100, 70, 40, 216, 4, {found, {Event::SignalLost, 284}}},
        {"4000 of one swing are a leader", 44100, 4003, 40, 216, -1, {found, {Event::LeaderFound, 16010}}}};
    for (const auto& [what, rate, cycles, low, high, hold, expected] : cases) {
        SCOPED_TRACE(what);
        std::vector<int> samples;
        for (int i = 0; i < cycles; ++i)
            samples.insert(samples.end(), {low, low, high, high});
        // Then 20 samples of the middle level (hold 0), or one cycle of that hold.
        for (const auto& [count, level] :
             {std::pair{hold == 0 ? 20 : 0, 128}, {std::max(hold, 0), 40}, {std::max(hold, 0), 216}})
            samples.insert(samples.end(), static_cast<std::size_t>(count), level);
        TransmissionWatch watcher(rate);
        std::vector<Seen> seen;
        for (const int sample : samples)
            if (const Event event = watcher.feed(static_cast<std::uint8_t>(sample)); event != Event::None)
                seen.push_back({event, watcher.position() - 1}); // at the sample just fed
        EXPECT_EQ(seen, expected);
        if (expected == run) {
            EXPECT_EQ(std::tuple(watcher.runStart(), watcher.lastSteadyEnd(), watcher.cycleLength()),
                      std::tuple(6u, 262u, 4.0));
        }
        if (hold == 4) { EXPECT_EQ(watcher.lastSteadyEnd(), 278u); }
        if (cycles == 4003) { EXPECT_EQ(watcher.leaderStart(), 10u); }
    }
}

} // namespace
} // namespace tonobild
