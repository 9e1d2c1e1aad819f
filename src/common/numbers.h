// Number rules shared by every stage of the station: rounding to the nearest
// integer with halves going to the even neighbour, floor division, and the
// 16-bit clamp used where a value is held in one of the station's 16-bit fields.
#pragma once

#include <cmath>
#include <cstdint>

namespace tonobild {

// Nearest integer, a half going to the even neighbour (0.5 -> 0, 1.5 -> 2, -2.5 -> -2).
// Independent of the floating-point rounding mode.
inline long long roundHalfEven(double x) noexcept
{
    const double below = std::floor(x);
    const double fraction = x - below;
    auto result = static_cast<long long>(below);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

// Floor division for a positive divisor: floorDiv(-1, 256) is -1, not 0.
constexpr long long floorDiv(long long numerator, long long divisor) noexcept
{
    const long long quotient = numerator / divisor;
    return (numerator % divisor != 0 && numerator < 0) ? quotient - 1 : quotient;
}

// Exact quotient of two integers rounded half to even, without floating point.
constexpr long long divideRoundHalfEven(long long numerator, long long divisor) noexcept
{
    const long long quotient = floorDiv(numerator, divisor);
    const long long twiceRemainder = 2 * (numerator - quotient * divisor);
    if (twiceRemainder > divisor || (twiceRemainder == divisor && (quotient % 2 != 0)))
        return quotient + 1;
    return quotient;
}

constexpr int clampToRange(long long value, int low, int high) noexcept
{
    return value < low ? low : (value > high ? high : static_cast<int>(value));
}

constexpr std::int16_t clampToInt16(long long value) noexcept
{
    return static_cast<std::int16_t>(clampToRange(value, INT16_MIN, INT16_MAX));
}

} // namespace tonobild
