// The three transmission resolutions of the resolution options: 160 x 120,
// 320 x 240 and 640 x 480.
#pragma once

#include <optional>

namespace tonobild {

enum class Resolution { R160x120, R320x240, R640x480 };

struct ResolutionSize {
    int width = 160;
    int height = 120;
};

constexpr ResolutionSize resolutionSize(Resolution resolution) noexcept
{
    switch (resolution) {
    case Resolution::R320x240:
        return {320, 240};
    case Resolution::R640x480:
        return {640, 480};
    case Resolution::R160x120:
        break;
    }
    return {160, 120};
}

// Every resolution is four wide to three high.
constexpr int heightForWidth(int width) noexcept
{
    return width * 3 / 4;
}

// The resolution whose size is exactly width x height, if any.
constexpr std::optional<Resolution> resolutionOfSize(int width, int height) noexcept
{
    for (Resolution r : {Resolution::R160x120, Resolution::R320x240, Resolution::R640x480}) {
        if (resolutionSize(r).width == width && resolutionSize(r).height == height)
            return r;
    }
    return std::nullopt;
}

// The resolution of that width, if any.
constexpr std::optional<Resolution> resolutionOfWidth(int width) noexcept
{
    return resolutionOfSize(width, heightForWidth(width));
}

} // namespace tonobild
