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
    return scaledSwing(normalisingScale(std::max(firstSwing, secondSwing), normlevel),
                       std::min(firstSwing, secondSwing));
}

const CycleDetector::PairValues& CycleDetector::pairValues(int normlevel)
{
    // normalisedValue() does not depend on the order of the swings: each pair
    // is worked out once, on the scale of its stronger swing.
    const auto tableFor = [](int level) {
        auto table = std::make_unique<PairValues>();
        for (int hi = -1; hi <= 254; ++hi) {
            const NormalisingScale scale = normalisingScale(hi, level);
            for (int lo = -1; lo <= hi; ++lo) {
                const std::int16_t value = scaledSwing(scale, lo);
                (*table)[static_cast<std::size_t>(hi + 1)][static_cast<std::size_t>(lo + 1)] = value;
                (*table)[static_cast<std::size_t>(lo + 1)][static_cast<std::size_t>(hi + 1)] = value;
            }
        }
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
