#include "standard/complex_fir.h"

#include <algorithm>

namespace tonobild::standard {

ComplexFir::ComplexFir(std::span<const std::complex<float>> taps, int decimation)
    : realTaps_(std::all_of(taps.begin(), taps.end(), [](std::complex<float> tap) { return tap.imag() == 0; })),
      decimation_(decimation)
{
    for (auto tap = taps.rbegin(); tap != taps.rend(); ++tap) {
        tapsRe_.push_back(tap->real());
        tapsIm_.push_back(tap->imag());
    }
    re_.assign(taps.size() - 1, 0.0f);
    im_.assign(taps.size() - 1, 0.0f);
}

// The output whose newest sample is re_[newest]: the taps over the samples
// before it, summed in four running sums so that the sums go four abreast.
std::complex<float> ComplexFir::outputAt(std::size_t newest) const noexcept
{
    const std::size_t n = tapsRe_.size(), first = newest + 1 - n;
    const float* xr = re_.data() + first;
    const float* xi = im_.data() + first;
    const float* hr = tapsRe_.data();
    const float* hi = tapsIm_.data();
    float sr[4] = {0, 0, 0, 0}, si[4] = {0, 0, 0, 0};
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4)
        for (std::size_t j = 0; j < 4; ++j) {
            sr[j] += hr[k + j] * xr[k + j] - hi[k + j] * xi[k + j];
            si[j] += hr[k + j] * xi[k + j] + hi[k + j] * xr[k + j];
        }
    for (; k < n; ++k) {
        sr[0] += hr[k] * xr[k] - hi[k] * xi[k];
        si[0] += hr[k] * xi[k] + hi[k] * xr[k];
    }
    return {(sr[0] + sr[1]) + (sr[2] + sr[3]), (si[0] + si[1]) + (si[2] + si[3])};
}

std::complex<float> ComplexFir::realTapOutputAt(std::size_t newest) const noexcept
{
    const std::size_t n = tapsRe_.size(), first = newest + 1 - n;
    const float* xr = re_.data() + first;
    const float* xi = im_.data() + first;
    const float* h = tapsRe_.data();
    float sr[4] = {0, 0, 0, 0}, si[4] = {0, 0, 0, 0};
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4)
        for (std::size_t j = 0; j < 4; ++j) {
            sr[j] += h[k + j] * xr[k + j];
            si[j] += h[k + j] * xi[k + j];
        }
    for (; k < n; ++k) {
        sr[0] += h[k] * xr[k];
        si[0] += h[k] * xi[k];
    }
    return {(sr[0] + sr[1]) + (sr[2] + sr[3]), (si[0] + si[1]) + (si[2] + si[3])};
}

void ComplexFir::filter(std::span<const std::complex<float>> in, std::vector<std::complex<float>>& out)
{
    const std::size_t history = re_.size();
    for (const auto& s : in) {
        re_.push_back(s.real());
        im_.push_back(s.imag());
    }
    for (std::size_t newest = history; newest < re_.size(); ++newest) {
        if (skip_ > 0) {
            --skip_;
            continue;
        }
        out.push_back(realTaps_ ? realTapOutputAt(newest) : outputAt(newest));
        skip_ = static_cast<std::size_t>(decimation_) - 1;
    }
    const std::size_t keep = tapsRe_.size() - 1;
    re_.erase(re_.begin(), re_.end() - static_cast<std::ptrdiff_t>(keep));
    im_.erase(im_.begin(), im_.end() - static_cast<std::ptrdiff_t>(keep));
}

} // namespace tonobild::standard
