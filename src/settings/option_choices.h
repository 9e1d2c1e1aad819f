// What the window's option groups choose, by the option buttons' numbers
// (Option1 is 1, Option24 is 24). The window asks its buttons, the command line
// asks a preset's values; both read the choices here. Each group is tested in
// the station's order, and nothing selected chooses nothing.
#pragma once

#include <optional>

#include "picture/resolution.h"

namespace tonobild {

// The resolution of Encode and Decode: the first selected of 160x120, 640x480, 320x240.
template <typename Selected>
std::optional<Resolution> chosenResolution(const Selected& selected)
{
    if (selected(1))
        return Resolution::R160x120;
    if (selected(3))
        return Resolution::R640x480;
    if (selected(2))
        return Resolution::R320x240;
    return std::nullopt;
}

// The option button of a resolution: Option1, Option2 or Option3.
constexpr int resolutionOption(Resolution resolution) noexcept
{
    return 1 + static_cast<int>(resolution); // the options stand in the order of the resolutions
}

// "Active Normalising": "Level 2 (Tape)" or "Level 3 (Direct)".
template <typename Selected>
std::optional<int> chosenNormalisingLevel(const Selected& selected)
{
    if (selected(6))
        return 2;
    if (selected(7))
        return 3;
    return std::nullopt;
}

// Dynamic Sync offset: "+8", then "+16", then "+32".
template <typename Selected>
std::optional<int> chosenSyncOffset(const Selected& selected)
{
    if (selected(13))
        return 8;
    if (selected(14))
        return 16;
    if (selected(12))
        return 32;
    return std::nullopt;
}

// "LIC Inset": "4-lock" is 4, "8 (Norm)" is 8, the others their caption.
template <typename Selected>
std::optional<int> chosenLicInset(const Selected& selected)
{
    constexpr int insets[][2] = {{24, 4}, {23, 5}, {19, 6}, {18, 7}, {17, 8}, {20, 9}, {21, 10}, {22, 1}};
    for (const auto& [option, inset] : insets)
        if (selected(option))
            return inset;
    return std::nullopt;
}

} // namespace tonobild
