#include "frontend/interpolator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <numeric>

namespace tonobild {

double linearValueAt(std::span<const float> centred, double t)
{
    const double clamped = std::clamp(t, 0.0, static_cast<double>(centred.size() - 1));
    const auto i = static_cast<std::size_t>(clamped);
    const double f = clamped - static_cast<double>(i);
    const double here = centred[i];
    return i + 1 < centred.size() ? here + f * (centred[i + 1] - here) : here;
}

Interpolator::Interpolator()
{
    for (int phase = 0; phase < kPhases; ++phase) {
        const double f = static_cast<double>(phase) / kPhases;
        std::array<double, kTaps> weights{};
        for (int k = 0; k < kTaps; ++k)
            weights[k] = lanczos(static_cast<double>(k - kTaps / 2 + 1) - f);
        const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
        for (int k = 0; k < kTaps; ++k)
            table_[phase][k] = static_cast<float>(weights[k] / sum);
    }
}

double Interpolator::valueAt(std::span<const float> centred, double t) const
{
    const auto i = static_cast<std::ptrdiff_t>(std::floor(t));
    const auto size = static_cast<std::ptrdiff_t>(centred.size());
    if (i < kTaps / 2 || i + kTaps / 2 >= size)
        return linearValueAt(centred, t);
    const auto at = static_cast<std::size_t>(i);
    const auto phase = std::min(static_cast<int>((t - static_cast<double>(i)) * kPhases), kPhases - 1);
    const float* sample = centred.data() + at - (kTaps / 2 - 1);
    double value = 0;
    for (int k = 0; k < kTaps; ++k)
        value += table_[phase][k] * sample[k];
    return value;
}

double Interpolator::lanczos(double x)
{
    constexpr double kHalfWidth = kTaps / 2;
    if (x == 0)
        return 1;
    if (std::abs(x) >= kHalfWidth)
        return 0;
    constexpr double pi = std::numbers::pi;
    return kHalfWidth * std::sin(pi * x) * std::sin(pi * x / kHalfWidth) / (pi * pi * x * x);
}

} // namespace tonobild
