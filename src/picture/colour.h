// Colour numbers: R + 256*G + 65536*B, each component 0..255; -1 stands for a
// position outside the working picture. Splitting uses floor division, so -1
// splits into blue -1, green 255, red 255.
#pragma once

#include <cstdint>

#include "common/numbers.h"

namespace tonobild {

using ColourNumber = std::int32_t;

constexpr ColourNumber kOutside = -1;
constexpr ColourNumber kBlack = 0;
constexpr ColourNumber kWhite = 0xFFFFFF;

struct ColourComponents {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const ColourComponents&, const ColourComponents&) = default;
};

constexpr ColourNumber colourNumber(int red, int green, int blue) noexcept
{
    return red + 256 * green + 65536 * blue;
}

constexpr ColourNumber colourNumber(ColourComponents c) noexcept
{
    return colourNumber(c.red, c.green, c.blue);
}

constexpr ColourComponents splitColour(ColourNumber c) noexcept
{
    const long long upper = floorDiv(c, 256);
    const long long blue = floorDiv(upper, 256);
    const long long green = upper - 256 * blue;
    const long long red = c - (65536 * blue + 256 * green);
    return {static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue)};
}

} // namespace tonobild
