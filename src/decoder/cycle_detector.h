// The decoder's front end: cuts the sample stream into cycles at its low and
// high samples, measures the swing of each cycle and turns every pair of
// cycles into one normalised value, the weaker swing against the stronger one
// on a scale of 0..255 ("Active Normalising"). Every byte is a sample; no
// header is looked for.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/numbers.h"
#include "decoder/decoder_controls.h"

namespace tonobild {

// What the stronger swing hi of a pair sets at level 2 or 3: the share t taken
// off both swings (hi / level, rounded half to even) and the factor 255 / hi'
// (hi' = hi - t, at least 1) that scales the weaker one.
struct NormalisingScale {
    int share = 0;
    double factor = 0.0;
};
NormalisingScale normalisingScale(int strongerSwing, int normlevel) noexcept;

// The weaker swing on the scale the stronger one set: the factor times the
// weaker swing less the share, rounded half to even. Division first (the
// factor), then the product, both in double precision.
inline std::int16_t scaledSwing(const NormalisingScale& scale, int weakerSwing) noexcept
{
    return static_cast<std::int16_t>(roundHalfEven(scale.factor * (weakerSwing - scale.share)));
}

// The normalised value of two swings at level 2 or 3: the larger swing minus a
// half (level 2) or a third (level 3) of itself becomes 255, the smaller one is
// scaled alike. Unclamped: weak cycles come out negative.
std::int16_t normalisedValue(int firstSwing, int secondSwing, int normlevel) noexcept;

class CycleDetector {
public:
    enum class Event { None, Tick, Value };

    explicit CycleDetector(const DecoderControls& controls) : controls_(controls) {}

    // A new decode: waiting for a low sample, empty bounds, no first swing.
    void reset(int normlevel) noexcept;

    // Takes one sample. A tick means a low sample ended the waiting phase; a
    // value means a pair of cycles is complete, see value(). Either way the
    // sample then widens the bounds, so the sample that ends a cycle is the
    // first sample of the next one.
    Event feed(std::uint8_t sample) noexcept
    {
        Event event = Event::None;
        if (waiting_) {
            if (sample < kMiddle) {
                waiting_ = false;
                event = Event::Tick;
            }
        } else if (sample > kMiddle && endsCycle()) {
            event = closeCycle();
        }
        if (sample < minimum_)
            minimum_ = sample;
        if (sample > maximum_)
            maximum_ = sample;
        return event;
    }

    // What onValues answers for the values it was handed: how many it took,
    // in order, and whether the block loop goes on after them. A stop takes
    // the value that asked for it.
    struct ValuesTaken {
        std::size_t count;
        bool goOn;
    };

    // The same cutting as feed() over a whole block, for the decoder's sample
    // loop. The ticks are counted on from ticks; when the count passes
    // ticksPerStep, ticks holds it, onStep() is called (it answers false to
    // stop here) and the count starts again from 0. The values go to
    // onValues(values) in order, in batches that no step falls inside: "Third"
    // may change at a step, and is read again after it. ticks holds the count
    // when it returns; firstSwing() is brought up to date only then.
    // The values come from a table of every swing pair, worked out once per
    // level with normalisedValue(), instead of one division per value.
    // The callables are taken by value: copies of their own let the loop keep
    // what they hold in registers.
    template <typename OnStep, typename OnValues>
    void feedBlock(std::span<const std::uint8_t> block, int& ticks, int ticksPerStep, OnStep onStep,
                   OnValues onValues);

    std::int16_t value() const noexcept { return value_; }
    int firstSwing() const noexcept { return firstSwing_; }

private:
    static constexpr int kMiddle = 128; // neither low nor high
    static constexpr int kNoSwing = -1;

    // The normalised value of every swing pair at level 2 or 3 (any other level
    // is taken as 3), indexed by both swings + 1; made at the first use of the level.
    using PairValues = std::array<std::array<std::int16_t, 256>, 256>;
    static const PairValues& pairValues(int normlevel);

    // What the block loop carries from sample to sample.
    struct Cycle {
        bool waiting;
        int minimum;
        int maximum;
        int firstSwing;
        int thirdCount;
    };
    bool endsCycle(Cycle& cycle) const noexcept;
    bool closeCycle(Cycle& cycle, std::int16_t& value) const noexcept;
    // What one sample of the sample loop did: a tick made a progress step due;
    // a cycle ended and completed a pair.
    struct Heard {
        bool stepDue;
        bool paired;
    };
    Heard hearSample(Cycle& cycle, std::uint8_t sample, int& count, int ticksPerStep,
                     std::int16_t& value) const noexcept;

    // Most of a clean stream is whole groups: waiting, with no swing of the
    // pair yet, come a low, a high, a low and a high sample, two cycles that
    // make one value. A run of such groups is taken in one go when no step
    // falls inside it and "Third" is off: the same ticks, values and bounds as
    // the sample loop, with fewer tests. Its values are worked out into a
    // batch first and handed on together.
    static constexpr std::ptrdiff_t kGroupSamples = 4;
    static constexpr int kGroupTicks = 2; // one at each of its low samples
    static constexpr std::size_t kBatchGroups = 256;
    using Batch = std::array<std::int16_t, kBatchGroups>;
    static bool isCleanGroup(const std::uint8_t* at) noexcept
    {
        return at[0] < kMiddle && at[1] > kMiddle && at[2] < kMiddle && at[3] > kMiddle;
    }
    std::size_t cleanRunAhead(const Cycle& cycle, const std::uint8_t* at, const std::uint8_t* end, int count,
                              int ticksPerStep) const noexcept;
    std::size_t cleanRunValues(const Cycle& cycle, const std::uint8_t* at, std::size_t most, Batch& batch) const noexcept;
    std::int16_t pairValue(int firstSwing, int secondSwing) const noexcept
    {
        return (*pairValues_)[static_cast<std::size_t>(firstSwing + 1)][static_cast<std::size_t>(secondSwing + 1)];
    }
    void store(const Cycle& cycle) noexcept;

    // With "Third" only every sixth high sample inside a cycle ends it.
    bool endsCycle() noexcept
    {
        if (!controls_.third)
            return true;
        if (thirdCount_ < 5) {
            ++thirdCount_;
            return false;
        }
        thirdCount_ = 0;
        return true;
    }

    Event closeCycle() noexcept
    {
        const int swing = maximum_ - minimum_ - 1;
        maximum_ = 0;
        minimum_ = 255;
        waiting_ = true;
        if (firstSwing_ == kNoSwing) {
            firstSwing_ = swing; // a flat cycle (swing -1) leaves the pair unstarted
            return Event::None;
        }
        value_ = normalise(firstSwing_, swing);
        firstSwing_ = kNoSwing;
        return Event::Value;
    }

    // normalisedValue() with the stronger swing's scale looked up.
    std::int16_t normalise(int a, int b) const noexcept
    {
        const int hi = a > b ? a : b;
        const int lo = a > b ? b : a;
        return scaledSwing(scales_[static_cast<std::size_t>(hi + 1)], lo);
    }

    const DecoderControls& controls_;
    bool waiting_ = true;
    int minimum_ = 255;
    int maximum_ = 0;
    int firstSwing_ = kNoSwing;
    int thirdCount_ = 0;
    std::array<NormalisingScale, 256> scales_{}; // for each stronger swing -1..254
    std::int16_t value_ = 0;
    const PairValues* pairValues_ = nullptr;
};

// "Third" is read here, where a high sample may end the cycle, as feed() reads it.
inline bool CycleDetector::endsCycle(Cycle& cycle) const noexcept
{
    if (!controls_.third)
        return true;
    if (cycle.thirdCount < 5) {
        ++cycle.thirdCount;
        return false;
    }
    cycle.thirdCount = 0;
    return true;
}

// Answers whether the cycle completed a pair, whose value is then in value.
inline bool CycleDetector::closeCycle(Cycle& cycle, std::int16_t& value) const noexcept
{
    const int swing = cycle.maximum - cycle.minimum - 1;
    cycle.maximum = 0;
    cycle.minimum = 255;
    cycle.waiting = true;
    if (cycle.firstSwing == kNoSwing) {
        cycle.firstSwing = swing;
        return false;
    }
    value = pairValue(cycle.firstSwing, swing);
    cycle.firstSwing = kNoSwing;
    return true;
}

// How many groups a run of clean ones at at may hold: none unless the
// detector waits with no swing open, "Third" is off and a clean group follows,
// else as many as the block, the next step and the batch leave room for.
inline std::size_t CycleDetector::cleanRunAhead(const Cycle& cycle, const std::uint8_t* at,
                                                const std::uint8_t* end, int count, int ticksPerStep) const noexcept
{
    const std::ptrdiff_t groupsLeft = (end - at) / kGroupSamples;
    const int groupsBeforeStep = (ticksPerStep - count) / kGroupTicks;
    // While waiting the bounds hold no low sample, so the group's first
    // sample is the lowest of its first cycle. With nothing above it (no
    // sample since a reset) that cycle would be flat and leave the pair
    // unstarted: the sample loop takes that group.
    if (!cycle.waiting || cycle.firstSwing != kNoSwing || controls_.third || groupsLeft < 1 || groupsBeforeStep < 1 ||
        !isCleanGroup(at) || cycle.maximum <= at[0])
        return 0;
    return std::min({static_cast<std::size_t>(groupsLeft), static_cast<std::size_t>(groupsBeforeStep), kBatchGroups});
}

// Works out the values of the clean groups from at on into batch, at most
// most of them, up to the first group that is not clean; answers how many.
// The first cycle of each group runs from the highest sample since the last
// cycle ended (the last sample of the group before) down to the group's first
// sample, its second from its second sample down to its third.
inline std::size_t CycleDetector::cleanRunValues(const Cycle& cycle, const std::uint8_t* at, std::size_t most,
                                                 Batch& batch) const noexcept
{
    int highest = cycle.maximum;
    std::size_t groups = 0;
    do {
        batch[groups] = pairValue(highest - at[0] - 1, at[1] - at[2] - 1);
        highest = at[3];
        at += kGroupSamples;
        ++groups;
    } while (groups < most && isCleanGroup(at));
    return groups;
}

// While waiting a low sample is a tick, which may make a progress step due;
// else a high sample may end the cycle and complete a pair, whose value is then
// in value. The sample widens the cycle's bounds either way.
inline CycleDetector::Heard CycleDetector::hearSample(Cycle& cycle, std::uint8_t sample, int& count, int ticksPerStep,
                                                      std::int16_t& value) const noexcept
{
    Heard heard{false, false};
    if (cycle.waiting) {
        const bool tick = sample < kMiddle;
        cycle.waiting = !tick;
        count += tick ? 1 : 0;
        heard.stepDue = count > ticksPerStep;
    } else if (sample > kMiddle && endsCycle(cycle)) {
        heard.paired = closeCycle(cycle, value);
    }
    cycle.minimum = sample < cycle.minimum ? sample : cycle.minimum;
    cycle.maximum = sample > cycle.maximum ? sample : cycle.maximum;
    return heard;
}

inline void CycleDetector::store(const Cycle& cycle) noexcept
{
    waiting_ = cycle.waiting;
    minimum_ = cycle.minimum;
    maximum_ = cycle.maximum;
    firstSwing_ = cycle.firstSwing;
    thirdCount_ = cycle.thirdCount;
}

template <typename OnStep, typename OnValues>
void CycleDetector::feedBlock(std::span<const std::uint8_t> block, int& ticks, int ticksPerStep, OnStep onStep,
                              OnValues onValues)
{
    // The cycle and the tick count are kept in locals: a byte read through the
    // block may alias any member or referenced count, so the compiler would
    // otherwise store and load them at every sample. They go back when the
    // block is done or stopped, and the count also before each step; nothing
    // that onStep or onValues calls can reach the cycle in between.
    Cycle cycle{waiting_, minimum_, maximum_, firstSwing_, thirdCount_};
    int count = ticks;
    const auto leave = [&] {
        store(cycle);
        ticks = count;
    };
    const std::uint8_t* at = block.data();
    const std::uint8_t* const end = at + block.size();
    Batch batch;
    while (at != end) {
        if (const std::size_t most = cleanRunAhead(cycle, at, end, count, ticksPerStep)) {
            const std::size_t groups = cleanRunValues(cycle, at, most, batch);
            const ValuesTaken taken = onValues(std::span<const std::int16_t>(batch.data(), groups));
            at += kGroupSamples * static_cast<std::ptrdiff_t>(taken.count);
            count += kGroupTicks * static_cast<int>(taken.count);
            // The last sample taken ended a cycle and opens the next.
            cycle.minimum = at[-1];
            cycle.maximum = at[-1];
            if (!taken.goOn) {
                leave();
                return;
            }
            continue;
        }
        std::int16_t value = 0;
        const Heard heard = hearSample(cycle, *at++, count, ticksPerStep, value);
        if (heard.stepDue) {
            ticks = count;
            if (!onStep()) {
                leave();
                return;
            }
            count = 0;
        }
        if (heard.paired && !onValues(std::span<const std::int16_t>(&value, 1)).goOn) {
            leave();
            return;
        }
    }
    leave();
}

} // namespace tonobild
