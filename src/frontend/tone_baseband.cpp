#include "frontend/tone_baseband.h"

#include <algorithm>
#include <cmath>

namespace tonobild {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The phasor is stepped by multiplication and set afresh this often, so that
// its rounding errors never add up.
constexpr std::size_t kPhasorRun = 1024;

} // namespace

ToneBaseband::ToneBaseband(std::span<const float> centred, double carrier)
    : carrier_(carrier), sums_(centred.size() + 1), turn_(1.0)
{
    const std::complex<double> step = std::polar(1.0, -2.0 * kPi * carrier);
    std::complex<double> phasor;
    for (std::size_t k = 0; k < centred.size(); ++k) {
        if (k % kPhasorRun == 0)
            phasor = std::polar(1.0, -2.0 * kPi * std::fmod(carrier * static_cast<double>(k), 1.0));
        sums_[k + 1] = sums_[k] + static_cast<double>(centred[k]) * phasor;
        phasor *= step;
    }
    // The tone's mean is a - b on the whole, below 0: turned onto the negative real axis.
    const std::complex<double> mean = sums_.back();
    if (std::abs(mean) > 0)
        turn_ = -std::conj(mean) / std::abs(mean);
}

double ToneBaseband::latest() const noexcept
{
    return length() - period() / 2.0 - 0.5;
}

std::complex<double> ToneBaseband::integral(double x) const
{
    const double last = static_cast<double>(sums_.size() - 1);
    const double at = std::clamp(x, 0.0, last);
    const double whole = std::floor(at);
    const auto i = static_cast<std::size_t>(whole);
    if (i + 1 >= sums_.size())
        return sums_.back();
    return sums_[i] + (at - whole) * (sums_[i + 1] - sums_[i]);
}

std::complex<double> ToneBaseband::mean(double t, double length) const
{
    const double half = length / 2.0;
    const double centre = std::clamp(t, half - 0.5, std::max(half - 0.5, this->length() - half - 0.5));
    return (integral(centre + half + 0.5) - integral(centre - half + 0.5)) / length * turn_;
}

} // namespace tonobild
