// Reading a recording between its samples, at any instant t (in samples from
// the first): on a straight line between the two samples either side, or
// band-limited through the samples around it.
#pragma once

#include <array>
#include <span>

namespace tonobild {

// The straight line between the samples either side of t; t is held to the
// recording.
double linearValueAt(std::span<const float> centred, double t);

// Band-limited interpolation between recorded samples: a Lanczos kernel of
// kTaps samples, tabulated at kPhases fractional positions and each phase's
// weights scaled to sum to 1. A sound card's recording holds everything up to
// near its Nyquist frequency, which a straight line between samples would
// blur. Within half the kernel of either end the straight line is read.
class Interpolator {
public:
    Interpolator();

    double valueAt(std::span<const float> centred, double t) const;

private:
    static constexpr int kTaps = 16;
    static constexpr int kPhases = 256;

    static double lanczos(double x);

    std::array<std::array<float, kTaps>, kPhases> table_{};
};

} // namespace tonobild
