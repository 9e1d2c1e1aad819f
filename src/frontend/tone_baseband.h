// The quarter-rate tone of a recording, mixed down to the baseband.
//
// A pixel group sends a, -a, b, -b (centred levels: a the value, b = 96.5 the
// reference): (a + b) / 2 at the transmission's Nyquist frequency and
// (a - b) / 2 times a tone at a quarter of its sample rate (2756 Hz at 11025),
// the only part that a resampler or a voice channel leaves. Mixed down by the
// tone's own frequency (measured, so a receiver mistuned by some hertz is
// followed) and averaged over one period of it, the recording gives at every
// instant a complex value whose real part follows a - b. a never exceeds b, so
// a - b is never above 0 and the tone's mean over a whole recording fixes its
// phase: turned by it, a sync (the lowest a - b) reads most negative.
#pragma once

#include <complex>
#include <span>

#include "frontend/spectral_line.h"

namespace tonobild {

class ToneBaseband {
public:
    // The tone as its spectral line found it: its frequency in cycles per
    // recorded sample, and its mean over the recording, which gives its phase.
    // The recording must outlive the baseband.
    ToneBaseband(std::span<const float> centred, const SpectralLine& tone);

    double carrier() const noexcept { return carrier_; }
    double period() const noexcept { return 1.0 / carrier_; }
    // The first and last instants whose period-long window lies inside the recording.
    double earliest() const noexcept { return period() / 2.0 - 0.5; }
    double latest() const noexcept;
    // The recording's length in samples.
    double length() const noexcept { return static_cast<double>(centred_.size()); }

    // The mean of the recording times the tone's phasor over one period centred
    // on t (held to the instants above), turned so that a - b is its real part.
    std::complex<double> at(double t) const { return mean(t, period()); }
    double inPhase(double t) const { return at(t).real(); }

    // The same over a window of any length (at least a period) centred on t.
    std::complex<double> mean(double t, double length) const;

private:
    std::span<const float> centred_;
    double carrier_;
    std::complex<double> turn_;
};

} // namespace tonobild
