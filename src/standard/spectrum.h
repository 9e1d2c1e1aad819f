// Short spectra of the baseband track: the power of a Hann-windowed stretch at
// each frequency bin, for telling a steady tone from changing tones and noise.
#pragma once

#include <memory>
#include <vector>

#include "standard/tone_measures.h"

namespace tonobild::standard {

class ShortSpectrum {
public:
    // `size` track samples a spectrum (a power of two).
    ShortSpectrum(double trackRate, int size);
    ~ShortSpectrum();
    ShortSpectrum(const ShortSpectrum&) = delete;
    ShortSpectrum& operator=(const ShortSpectrum&) = delete;

    int size() const noexcept { return size_; }
    double binHz() const noexcept { return rate_ / size_; }
    // The frequency of a bin, bins numbered from the lowest frequency (0) up.
    double frequencyOf(double bin) const noexcept { return kCentreHz + (bin - size_ / 2) * binHz(); }
    double binOf(double hz) const noexcept { return (hz - kCentreHz) / binHz() + size_ / 2; }

    // The power spectrum of the `size` samples from `first`, lowest frequency first.
    const std::vector<float>& of(const TrackView& track, std::size_t first);

private:
    struct Plan;
    double rate_;
    int size_;
    std::vector<float> window_;
    std::vector<float> power_;
    std::unique_ptr<Plan> plan_;
};

} // namespace tonobild::standard
