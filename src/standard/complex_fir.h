// A filter of complex taps over the complex track, a block at a time, its
// history kept between blocks; on request only every n-th output. Taps that
// are all real (a low-pass) take half the products. Written out
// here because the library's own complex dot product runs one product at a
// time on this machine's build, and the track's band-pass is the receiver's
// largest cost (bench/standard_bench.cpp measures both).
#pragma once

#include <complex>
#include <span>
#include <vector>

namespace tonobild::standard {

class ComplexFir {
public:
    ComplexFir(std::span<const std::complex<float>> taps, int decimation = 1);

    // Appends the outputs of the next samples: one for every `decimation` samples taken in.
    void filter(std::span<const std::complex<float>> in, std::vector<std::complex<float>>& out);
    // The taps' centre lags this many input samples behind the newest (an odd number of taps: a whole number).
    std::size_t delay() const noexcept { return (tapsRe_.size() - 1) / 2; }
    // The next outputs come `samples` input samples later: a filter that should
    // not lag skips its delay.
    void skip(std::size_t samples) noexcept { skip_ += samples; }

private:
    std::complex<float> outputAt(std::size_t newest) const noexcept;
    std::complex<float> realTapOutputAt(std::size_t newest) const noexcept;

    std::vector<float> tapsRe_, tapsIm_; // the taps, newest sample's tap last
    std::vector<float> re_, im_;         // the samples still needed, oldest first
    bool realTaps_;
    int decimation_;
    std::size_t skip_ = 0; // samples to take in before the next output
};

} // namespace tonobild::standard
