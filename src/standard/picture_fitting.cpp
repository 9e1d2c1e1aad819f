#include "standard/picture_fitting.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tonobild::standard {

namespace {

// The weights of the source samples for each target sample along one side:
// target i covers source [offset + i / scale, offset + (i + 1) / scale).
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Taps> resamplingTaps(int sourceSize, int targetSize, double scale, double offset)
{
    const double support = std::max(1.0, 1.0 / scale); // a triangle one source or one target sample wide
    std::vector<Taps> taps(static_cast<std::size_t>(targetSize));
    for (int i = 0; i < targetSize; ++i) {
        const double centre = offset + (i + 0.5) / scale - 0.5;
        const int first = static_cast<int>(std::floor(centre - support)) + 1;
        const int last = static_cast<int>(std::ceil(centre + support)) - 1;
        Taps& t = taps[static_cast<std::size_t>(i)];
        t.first = std::clamp(first, 0, sourceSize - 1);
        double total = 0;
        for (int s = t.first; s <= std::min(last, sourceSize - 1); ++s) {
            const double w = std::max(0.0, 1.0 - std::abs(s - centre) / support);
            t.weights.push_back(static_cast<float>(w));
            total += w;
        }
        if (total <= 0)
            t.weights.assign(1, 1.0f);
        else
            for (float& w : t.weights)
                w = static_cast<float>(w / total);
    }
    return taps;
}

using Plane = std::vector<float>; // three floats a pixel

Plane planeOf(const WorkingPicture& picture)
{
    Plane plane(static_cast<std::size_t>(picture.width()) * picture.height() * 3);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const ColourComponents c = splitColour(std::max(picture.colour(x, y), kBlack));
            float* at = &plane[(static_cast<std::size_t>(y) * picture.width() + x) * 3];
            at[0] = static_cast<float>(c.red), at[1] = static_cast<float>(c.green), at[2] = static_cast<float>(c.blue);
        }
    return plane;
}

// One side resampled: `count` lines of `stride`-apart samples along it.
Plane resampleAlong(const Plane& source, const std::vector<Taps>& taps, int lines, int sourceStep, int sourceLineStep,
                    int targetStep, int targetLineStep, std::size_t targetSize)
{
    Plane target(targetSize, 0.0f);
    for (int line = 0; line < lines; ++line)
        for (std::size_t i = 0; i < taps.size(); ++i)
            for (int c = 0; c < 3; ++c) {
                float sum = 0;
                for (std::size_t k = 0; k < taps[i].weights.size(); ++k)
                    sum += taps[i].weights[k] *
                           source[static_cast<std::size_t>(line * sourceLineStep + (taps[i].first + static_cast<int>(k)) * sourceStep + c)];
                target[static_cast<std::size_t>(line * targetLineStep + static_cast<int>(i) * targetStep + c)] = sum;
            }
    return target;
}

} // namespace

WorkingPicture fitPicture(const WorkingPicture& picture, int width, int height, Fit fit)
{
    const int sw = std::max(picture.width(), 1), sh = std::max(picture.height(), 1);
    double sx = static_cast<double>(width) / sw, sy = static_cast<double>(height) / sh;
    if (fit == Fit::Bars)
        sx = sy = std::min(sx, sy);
    else if (fit == Fit::Crop)
        sx = sy = std::max(sx, sy);
    // The scaled picture's size inside the target, and where it sits.
    const int scaledWidth = std::min(width, static_cast<int>(std::lround(sw * sx)));
    const int scaledHeight = std::min(height, static_cast<int>(std::lround(sh * sy)));
    const double cropX = (sw - scaledWidth / sx) / 2, cropY = (sh - scaledHeight / sy) / 2;
    const Plane source = planeOf(picture);
    const Plane across = resampleAlong(source, resamplingTaps(sw, scaledWidth, sx, cropX), sh, 3, sw * 3, 3,
                                       scaledWidth * 3, static_cast<std::size_t>(scaledWidth) * sh * 3);
    const Plane scaled = resampleAlong(across, resamplingTaps(sh, scaledHeight, sy, cropY), scaledWidth, scaledWidth * 3,
                                       3, scaledWidth * 3, 3, static_cast<std::size_t>(scaledWidth) * scaledHeight * 3);
    WorkingPicture fitted(width, height);
    const int left = (width - scaledWidth) / 2, top = (height - scaledHeight) / 2;
    const auto component = [](float v) { return static_cast<int>(std::lrint(std::clamp(v, 0.0f, 255.0f))); };
    for (int y = 0; y < scaledHeight; ++y)
        for (int x = 0; x < scaledWidth; ++x) {
            const float* at = &scaled[(static_cast<std::size_t>(y) * scaledWidth + x) * 3];
            fitted.setColour(left + x, top + y, colourNumber(component(at[0]), component(at[1]), component(at[2])));
        }
    return fitted;
}

} // namespace tonobild::standard
