// Compand: the sender folds picture, marker, code and guard values into the
// upper half of the range, so that nothing but a sync falls below the middle
// level; the receiver unfolds them, and reads a bit as high from 192 instead
// of 128 (compand lifts black to 128).
#pragma once

#include "common/numbers.h"

namespace tonobild {

// The sender's fold: 0 becomes 128, 255 stays 255, -1 becomes 127.
constexpr int compandValue(int value) noexcept
{
    return static_cast<int>(floorDiv(value, 2)) + 128;
}

// The receiver's unfold of a received value, within 0 to 255.
constexpr int expandCompanded(int value) noexcept
{
    return clampToRange((value - 128) * 2, 0, 255);
}

// The level from which a received character counts as a high bit (a start
// marker, a code digit 1, a white signature cell).
constexpr int readingThreshold(bool compand) noexcept
{
    return compand ? 192 : 128;
}

} // namespace tonobild
