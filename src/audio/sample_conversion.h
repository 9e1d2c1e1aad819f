// Sample conversions between WAV files and sound devices.
//
// The picture lives in half-cycles one sample long at the file's Nyquist
// frequency. A low-pass resampler rounds them off, so the player brings a file
// to the device's rate by repeating samples, which keeps every cycle square and
// every level exact; only the lengths of the half-cycles grow.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "soundfile/wav_file.h"

namespace tonobild {

struct PlaybackRate {
    std::uint32_t deviceRate = 0;
    bool exactRepetition = true; // false: repetition by rounding, half-cycles of unequal length
};

// The rate at which to hand a file to a device that runs natively at the given
// rates (the preferred one first): the file's own rate when the device runs at
// it, else the smallest native rate that is a whole multiple of it, else the
// first native rate with each sample repeated a rounded number of times.
PlaybackRate choosePlaybackRate(std::uint32_t fileRate, std::span<const std::uint32_t> nativeRates);

// The frames of the file as 16-bit signed samples, interleaved as in the file
// (8-bit unsigned s becomes (s - 128) * 256).
std::vector<std::int16_t> toInt16(const WavAudio& audio);

// How many frames repeatFrames() makes of `frames` input frames.
std::uint64_t repeatedFrameCount(std::uint64_t frames, std::uint32_t fromRate, std::uint32_t toRate) noexcept;

// Repeats whole frames of `channels` interleaved samples to go from fromRate to
// toRate: output frame i is input frame floor(i * fromRate / toRate). For a
// whole-number ratio k every frame appears exactly k times.
std::vector<std::int16_t> repeatFrames(std::span<const std::int16_t> samples, int channels,
                                       std::uint32_t fromRate, std::uint32_t toRate);

// What a capture device delivers.
enum class DeviceSampleFormat { UInt8, Int16, Int32, Float };

// Turns the bytes a capture device delivers (any of the formats above, any
// channel count, any rate) into 8-bit unsigned mono samples at the target rate.
// Channels are averaged; a different rate is met by picking the nearest earlier
// sample. Chunks may split frames: the rest is kept for the next chunk.
class CaptureConverter {
public:
    CaptureConverter(DeviceSampleFormat format, int channels, std::uint32_t deviceRate,
                     std::uint32_t targetRate = 44100);

    // Appends the converted samples of this chunk to `out`.
    void convert(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out);

private:
    double frameValue(const std::uint8_t* frame) const; // -1.0 .. 1.0, channels averaged

    DeviceSampleFormat format_;
    int channels_;
    std::uint32_t deviceRate_;
    std::uint32_t targetRate_;
    std::size_t frameBytes_;
    std::vector<std::uint8_t> partial_;
    std::uint64_t framesIn_ = 0;  // device frames seen so far
    std::uint64_t framesOut_ = 0; // samples produced so far
};

// The 8-bit unsigned sample for a value of -1.0 .. 1.0, rounded half to even and
// clamped: 0.0 is 128, -1.0 is 0, 1.0 is 255.
std::uint8_t toUnsigned8(double value) noexcept;

// The largest distance of a sample from the middle, 0 .. 128.
int peakLevel(std::span<const std::uint8_t> samples) noexcept;

} // namespace tonobild
