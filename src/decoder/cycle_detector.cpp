#include "decoder/cycle_detector.h"

#include <algorithm>

#include "common/numbers.h"

namespace tonobild {

NormalisingScale normalisingScale(int strongerSwing, int normlevel) noexcept
{
    const auto t = static_cast<int>(roundHalfEven(static_cast<double>(strongerSwing) / normlevel));
    return {t, 255.0 / std::max(strongerSwing - t, 1)};
}

std::int16_t normalisedValue(int firstSwing, int secondSwing, int normlevel) noexcept
{
    const NormalisingScale scale = normalisingScale(std::max(firstSwing, secondSwing), normlevel);
    // Division first (the factor), then the product, both in double precision.
    return static_cast<std::int16_t>(roundHalfEven(scale.factor * (std::min(firstSwing, secondSwing) - scale.share)));
}

void CycleDetector::reset(int normlevel) noexcept
{
    waiting_ = true;
    minimum_ = 255;
    maximum_ = 0;
    firstSwing_ = kNoSwing;
    thirdCount_ = 0;
    value_ = 0;
    for (int hi = -1; hi <= 254; ++hi)
        scales_[static_cast<std::size_t>(hi + 1)] = normalisingScale(hi, normlevel);
}

} // namespace tonobild
