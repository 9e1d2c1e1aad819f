#include "standard/scan_planes.h"

#include <algorithm>
#include <cmath>

namespace tonobild::standard {

namespace {

// The planes: 0 red / luminance, 1 green / R-Y, 2 blue / B-Y.
constexpr int kLuma = 0;
constexpr int kRedDiff = 1;
constexpr int kBlueDiff = 2;

int planeOf(Channel channel) noexcept
{
    switch (channel) {
    case Channel::Red:
    case Channel::Luma:
    case Channel::SecondLuma:
        return 0;
    case Channel::Green:
    case Channel::RedDiff:
        return 1;
    case Channel::Blue:
    case Channel::BlueDiff:
        return 2;
    }
    return 0;
}

} // namespace

ScanPlanes::ScanPlanes(const StandardMode& mode) : width_(mode.width), height_(mode.height)
{
    const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    const float colourMiddle = sendsColourDifferences(mode.family) ? 128.0f : 0.0f;
    planes_[0].assign(size, 0.0f);
    planes_[1].assign(size, colourMiddle);
    planes_[2].assign(size, colourMiddle);
}

std::span<float> ScanPlanes::row(int plane, int y) noexcept
{
    return {planes_[static_cast<std::size_t>(plane)].data() + static_cast<std::size_t>(y) * width_,
            static_cast<std::size_t>(width_)};
}

std::span<const float> ScanPlanes::row(int plane, int y) const noexcept
{
    return {planes_[static_cast<std::size_t>(plane)].data() + static_cast<std::size_t>(y) * width_,
            static_cast<std::size_t>(width_)};
}

ScanPlanes ScanPlanes::ofPicture(const WorkingPicture& picture, const StandardMode& mode, ColourRange range)
{
    ScanPlanes planes(mode);
    for (int y = 0; y < mode.height; ++y)
        for (int x = 0; x < mode.width; ++x) {
            const ColourComponents rgb = splitColour(std::max(picture.colour(x, y), kBlack));
            const auto at = static_cast<std::size_t>(y) * mode.width + x;
            if (mode.family == ColourFamily::Grey) {
                planes.planes_[kLuma][at] = static_cast<float>(greyOf(rgb));
            } else if (sendsColourDifferences(mode.family)) {
                const Ycc ycc = yccOf(rgb, range);
                planes.planes_[kLuma][at] = static_cast<float>(ycc.luma);
                planes.planes_[kRedDiff][at] = static_cast<float>(ycc.redDiff);
                planes.planes_[kBlueDiff][at] = static_cast<float>(ycc.blueDiff);
            } else {
                planes.planes_[0][at] = static_cast<float>(rgb.red);
                planes.planes_[1][at] = static_cast<float>(rgb.green);
                planes.planes_[2][at] = static_cast<float>(rgb.blue);
            }
        }
    if (sharesColourBetweenRows(mode.family))
        planes.averageColourPairs();
    return planes;
}

// Robot 36 and PD send one colour difference for each pair of rows: their mean.
void ScanPlanes::averageColourPairs()
{
    for (int plane : {kRedDiff, kBlueDiff})
        for (int y = 0; y + 1 < height_; y += 2) {
            auto upper = row(plane, y);
            auto lower = row(plane, y + 1);
            for (int x = 0; x < width_; ++x)
                upper[x] = lower[x] = (upper[x] + lower[x]) / 2;
        }
}

void ScanPlanes::placeColourBetweenPairs(const StandardMode& mode, int firstRow, int endRow)
{
    firstRow = std::max(firstRow, 0), endRow = std::min(endRow, height_ - height_ % 2);
    if (!sharesColourBetweenRows(mode.family) || endRow <= firstRow)
        return;
    const int firstPair = firstRow / 2, lastPair = (endRow - 1) / 2;
    const int firstWhole = (firstRow + 1) / 2, lastWhole = endRow / 2 - 1; // pairs with both rows received
    std::vector<float> pairs(static_cast<std::size_t>(lastPair - firstPair + 1) * width_);
    const auto pairRow = [&](int pair) {
        return std::span(pairs).subspan(static_cast<std::size_t>(pair - firstPair) * width_, width_);
    };
    for (int plane : {kRedDiff, kBlueDiff}) {
        for (int pair = firstPair; pair <= lastPair; ++pair) {
            const auto upper = row(plane, 2 * pair), lower = row(plane, 2 * pair + 1);
            std::transform(upper.begin(), upper.end(), lower.begin(), pairRow(pair).begin(),
                           [](float a, float b) { return (a + b) / 2; });
        }
        for (int y = firstRow; y < endRow; ++y) {
            const int pair = y / 2, beside = y % 2 ? pair + 1 : pair - 1;
            const int nearer = beside >= firstWhole && beside <= lastWhole ? beside : pair;
            std::transform(pairRow(pair).begin(), pairRow(pair).end(), pairRow(nearer).begin(), row(plane, y).begin(),
                           [](float own, float neighbour) { return 0.75f * own + 0.25f * neighbour; });
        }
    }
}

ScanPlanes::Place ScanPlanes::placeOf(const StandardMode& mode, int line, Channel channel) noexcept
{
    if (mode.family == ColourFamily::TwoRows)
        return {planeOf(channel), 2 * line + (channel == Channel::SecondLuma ? 1 : 0)};
    return {planeOf(channel), line};
}

std::span<const float> ScanPlanes::scan(const StandardMode& mode, int line, const LinePart& part) const
{
    const Place place = placeOf(mode, line, part.channelOn(line));
    return row(place.plane, std::clamp(place.row, 0, height_ - 1));
}

void ScanPlanes::putScan(const StandardMode& mode, int line, Channel channel, std::span<const float> values)
{
    Place place = placeOf(mode, line, channel);
    const bool pairedColour = planeOf(channel) != kLuma && sharesColourBetweenRows(mode.family);
    if (pairedColour)
        place.row -= place.row % 2; // the pair's first row, then its second
    for (int y = place.row; y <= place.row + (pairedColour ? 1 : 0); ++y)
        if (y >= 0 && y < height_)
            std::copy_n(values.begin(), std::min<std::size_t>(values.size(), width_), row(place.plane, y).begin());
}

WorkingPicture ScanPlanes::picture(const StandardMode& mode, ColourRange range) const
{
    WorkingPicture picture(width_, height_);
    const auto value = [](float v) { return static_cast<int>(std::lrint(std::clamp(v, 0.0f, 255.0f))); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const auto at = static_cast<std::size_t>(y) * width_ + x;
            const float a = planes_[0][at], b = planes_[1][at], c = planes_[2][at];
            ColourComponents rgb{value(a), value(b), value(c)};
            if (mode.family == ColourFamily::Grey)
                rgb = {value(a), value(a), value(a)};
            else if (sendsColourDifferences(mode.family))
                rgb = rgbOf({a, b, c}, range);
            picture.setColour(x, y, colourNumber(rgb));
        }
    return picture;
}

} // namespace tonobild::standard
