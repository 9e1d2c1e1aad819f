#include "decoder/cycle_detector.h"

#include <algorithm>
#include <memory>

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

const CycleDetector::PairValues& CycleDetector::pairValues(int normlevel)
{
    const auto tableFor = [](int level) {
        auto table = std::make_unique<PairValues>();
        for (int first = -1; first <= 254; ++first)
            for (int second = -1; second <= 254; ++second)
                (*table)[static_cast<std::size_t>(first + 1)][static_cast<std::size_t>(second + 1)] =
                    normalisedValue(first, second, level);
        return table;
    };
    if (normlevel == 2) {
        static const std::unique_ptr<PairValues> level2 = tableFor(2);
        return *level2;
    }
    static const std::unique_ptr<PairValues> level3 = tableFor(3);
    return *level3;
}

void CycleDetector::reset(int normlevel) noexcept
{
    pairValues_ = &pairValues(normlevel);
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
