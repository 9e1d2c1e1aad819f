// A phase-continuous tone whose frequency follows the parts of a transmission.
// Every part ends at its ideal time, kept in floating point from the start of
// the transmission, and a sample belongs to the part its time falls in: the
// boundaries never drift, whatever the rounding of each part to whole samples.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tonobild::standard {

// Where the samples go, a block at a time.
using BlockSink = std::function<void(std::span<const std::int16_t>)>;

class ToneWriter {
public:
    // amplitude: the tone's peak as a share of full scale.
    ToneWriter(std::uint32_t sampleRate, double amplitude, BlockSink sink);

    // A tone of hz for ms milliseconds.
    void tone(double hz, double ms);
    // Picture values (0..255) one after the other over ms milliseconds.
    void scan(std::span<const float> values, double ms);
    // Hands out the samples still held.
    void finish();

    std::uint64_t samplesWritten() const noexcept { return next_; }
    double secondsSent() const noexcept { return end_; }

private:
    template <typename FrequencyAt> void emitUntil(double endSeconds, FrequencyAt frequencyAt);
    void put(double hz);

    std::uint32_t rate_;
    double amplitude_;
    BlockSink sink_;
    double end_ = 0;         // the ideal end of what was sent so far, in seconds
    std::uint64_t next_ = 0; // the next sample's number
    double phase_ = 0;       // in turns, 0..1
    std::vector<std::int16_t> block_;
};

} // namespace tonobild::standard
