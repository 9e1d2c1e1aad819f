// Finding a steady tone in a recording: the frequency, strength and phase of
// the strongest spectral line near a given frequency.
//
// The signal is mixed down by the frequency looked near, summed in blocks
// short enough to keep the whole range searched, and transformed; the
// strongest bin is then refined to a fraction of a bin on the mixed-down
// blocks. Over a recording of N samples the frequency comes out to a small
// fraction of 1 / N, so that a line found over a whole transmission gives its
// rate to a few parts in a million.
#pragma once

#include <complex>
#include <cstddef>
#include <span>

namespace tonobild {

struct SpectralLine {
    double frequency = 0;             // cycles per sample
    std::complex<double> amplitude;   // the mean of signal[n] e^(-2 pi i f n) over the signal
    double prominence = 0;            // the line's power over the median power of the range searched
};

// The strongest line within halfWidth of `near` (both in cycles per sample,
// near above halfWidth and below a half). A signal too short for the range
// gives a line of prominence 0.
SpectralLine findSpectralLine(std::span<const float> signal, double near, double halfWidth);

// The phasor e^(-2 pi i f n), from the fraction of turns so that a late n loses no precision.
std::complex<double> phasorAt(double frequency, std::size_t n);

// The mean of signal[n] e^(-2 pi i f n) over the signal.
std::complex<double> lineAmplitude(std::span<const float> signal, double frequency);

} // namespace tonobild
