#include "standard/colour_spaces.h"

#include <algorithm>
#include <cmath>

namespace tonobild::standard {

namespace {

int component(double value) noexcept
{
    return static_cast<int>(std::lrint(std::clamp(value, 0.0, 255.0)));
}

} // namespace

const char* colourRangeName(ColourRange range) noexcept
{
    return range == ColourRange::Studio ? "studio" : "full";
}

Ycc yccOf(ColourComponents c, ColourRange range) noexcept
{
    const double r = c.red, g = c.green, b = c.blue;
    if (range == ColourRange::Studio)
        return {16 + (65.738 * r + 129.057 * g + 25.064 * b) / 256, 128 + (112.439 * r - 94.154 * g - 18.285 * b) / 256,
                128 + (-37.945 * r - 74.494 * g + 112.439 * b) / 256};
    const double y = greyOf(c);
    return {y, 128 + 0.713 * (r - y), 128 + 0.564 * (b - y)};
}

namespace {

struct Rgb {
    double red, green, blue;
};

Rgb studioRgb(const Ycc& ycc) noexcept
{
    const double cr = ycc.redDiff - 128, cb = ycc.blueDiff - 128, y = 1.164 * (ycc.luma - 16);
    return {y + 1.596 * cr, y - 0.392 * cb - 0.813 * cr, y + 2.017 * cb};
}

} // namespace

double studioGamutExcess(const Ycc& ycc) noexcept
{
    const Rgb c = studioRgb(ycc);
    return std::max({0.0, -c.red, -c.green, -c.blue, c.red - 255, c.green - 255, c.blue - 255});
}

ColourComponents rgbOf(const Ycc& ycc, ColourRange range) noexcept
{
    if (range == ColourRange::Studio) {
        const Rgb c = studioRgb(ycc);
        return {component(c.red), component(c.green), component(c.blue)};
    }
    const double cr = ycc.redDiff - 128, cb = ycc.blueDiff - 128;
    const double y = ycc.luma;
    return {component(y + 1.402 * cr), component(y - 0.344136 * cb - 0.714136 * cr), component(y + 1.772 * cb)};
}

double greyOf(ColourComponents c) noexcept
{
    return 0.299 * c.red + 0.587 * c.green + 0.114 * c.blue;
}

} // namespace tonobild::standard
