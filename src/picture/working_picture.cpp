#include "picture/working_picture.h"

#include <algorithm>
#include <stdexcept>

namespace tonobild {

WorkingPicture::WorkingPicture(int width, int height)
{
    resize(width, height);
}

void WorkingPicture::fillBox(int x1, int y1, int x2, int y2, ColourNumber c) noexcept
{
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), width_ - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), height_ - 1);
    for (int y = top; y <= bottom; ++y) {
        if (left > right)
            break;
        std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(left, y)),
                  pixels_.begin() + static_cast<std::ptrdiff_t>(index(right, y)) + 1, c);
    }
}

void WorkingPicture::clear(ColourNumber c) noexcept
{
    std::fill(pixels_.begin(), pixels_.end(), c);
}

void WorkingPicture::resize(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("picture size must not be negative");
    std::vector<ColourNumber> resized(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlack);
    const int keptWidth = std::min(width, width_);
    const int keptHeight = std::min(height, height_);
    for (int y = 0; y < keptHeight; ++y) {
        const auto from = pixels_.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        std::copy(from, from + keptWidth, resized.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    pixels_ = std::move(resized);
    width_ = width;
    height_ = height;
    commit();
}

void WorkingPicture::place(int width, int height, std::vector<ColourNumber> pixels)
{
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("picture size does not match its pixels");
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    commit();
}

void WorkingPicture::commit() noexcept
{
    placedWidth_ = width_;
    placedHeight_ = height_;
}

} // namespace tonobild
