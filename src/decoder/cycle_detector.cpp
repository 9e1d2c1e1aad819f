#include "decoder/cycle_detector.h"

#include <algorithm>

#include "common/numbers.h"

namespace tonobild {

std::int16_t normalisedValue(int firstSwing, int secondSwing, int normlevel) noexcept
{
    const int hi = std::max(firstSwing, secondSwing);
    const int lo = std::min(firstSwing, secondSwing);
    const auto t = static_cast<int>(roundHalfEven(static_cast<double>(hi) / normlevel));
    const int hiAbove = std::max(hi - t, 1);
    const int loAbove = lo - t;
    // Division first, then the product, both in double precision.
    const double value = 255.0 / hiAbove * loAbove;
    return static_cast<std::int16_t>(roundHalfEven(value));
}

void CycleDetector::reset(int normlevel) noexcept
{
    waiting_ = true;
    minimum_ = 255;
    maximum_ = 0;
    firstSwing_ = kNoSwing;
    thirdCount_ = 0;
    value_ = 0;
    for (int hi = -1; hi <= 254; ++hi) {
        const auto t = static_cast<int>(roundHalfEven(static_cast<double>(hi) / normlevel));
        scales_[static_cast<std::size_t>(hi + 1)] = {t, 255.0 / std::max(hi - t, 1)};
    }
}

} // namespace tonobild
