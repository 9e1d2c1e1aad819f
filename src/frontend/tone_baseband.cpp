#include "frontend/tone_baseband.h"

#include <algorithm>
#include <cmath>

namespace tonobild {

ToneBaseband::ToneBaseband(std::span<const float> centred, const SpectralLine& tone)
    : centred_(centred), carrier_(tone.frequency), turn_(1.0)
{
    // The tone's mean is a - b on the whole, below 0: turned onto the negative real axis.
    if (std::abs(tone.amplitude) > 0)
        turn_ = -std::conj(tone.amplitude) / std::abs(tone.amplitude);
}

double ToneBaseband::latest() const noexcept
{
    return length() - period() / 2.0 - 0.5;
}

// Each sample k stands for the step from k to k + 1; the window from `from` to
// `to` takes of each the share it covers.
std::complex<double> ToneBaseband::mean(double t, double length) const
{
    const double half = length / 2.0;
    const double centre = std::clamp(t, half - 0.5, std::max(half - 0.5, this->length() - half - 0.5));
    const double from = centre - half + 0.5;
    const double to = centre + half + 0.5;
    const auto first = static_cast<std::size_t>(std::floor(from));
    const auto last = std::min(static_cast<std::size_t>(std::ceil(to)), centred_.size());
    const std::complex<double> step = phasorAt(carrier_, 1);
    std::complex<double> phasor = phasorAt(carrier_, first);
    std::complex<double> sum;
    for (std::size_t k = first; k < last; ++k) {
        const double share = std::min(static_cast<double>(k + 1), to) - std::max(static_cast<double>(k), from);
        sum += share * static_cast<double>(centred_[k]) * phasor;
        phasor *= step;
    }
    return sum / length * turn_;
}

} // namespace tonobild
