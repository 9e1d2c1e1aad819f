// The decoder's front end: cuts the sample stream into cycles at its low and
// high samples, measures the swing of each cycle and turns every pair of
// cycles into one normalised value, the weaker swing against the stronger one
// on a scale of 0..255 ("Active Normalising"). Every byte is a sample; no
// header is looked for.
#pragma once

#include <array>
#include <cstdint>

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

    std::int16_t value() const noexcept { return value_; }
    int firstSwing() const noexcept { return firstSwing_; }

private:
    static constexpr int kMiddle = 128; // neither low nor high
    static constexpr int kNoSwing = -1;

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
        const NormalisingScale& scale = scales_[static_cast<std::size_t>(hi + 1)];
        return static_cast<std::int16_t>(roundHalfEven(scale.factor * (lo - scale.share)));
    }

    const DecoderControls& controls_;
    bool waiting_ = true;
    int minimum_ = 255;
    int maximum_ = 0;
    int firstSwing_ = kNoSwing;
    int thirdCount_ = 0;
    std::array<NormalisingScale, 256> scales_{}; // for each stronger swing -1..254
    std::int16_t value_ = 0;
};

} // namespace tonobild
