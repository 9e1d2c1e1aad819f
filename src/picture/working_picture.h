// The working picture: the grid of colour numbers that every command reads and
// paints. Column 0 is at the left, row 0 at the top. Reads outside the grid give
// -1, writes outside it are ignored. Besides its pixels it remembers the size of
// the picture most recently placed into it, which the preparation uses to choose
// the transmission resolution.
#pragma once

#include <vector>

#include "picture/colour.h"

namespace tonobild {

// A look at the grid's pixels for reading only, valid until the picture is
// resized or replaced. Loops that write bytes elsewhere read through it: a
// byte written may alias the picture's own fields, which would then be
// loaded again at every pixel.
class PixelGrid {
public:
    PixelGrid(const ColourNumber* pixels, int width, int height) noexcept
        : pixels_(pixels), width_(width), height_(height)
    {
    }

    bool contains(int x, int y) const noexcept { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    ColourNumber colour(int x, int y) const noexcept { return contains(x, y) ? pixels_[index(x, y)] : kOutside; }

    // The pixels of row y, for a caller that has checked its columns to be inside.
    const ColourNumber* row(int y) const noexcept { return pixels_ + index(0, y); }

    // Row by row, top row first.
    std::size_t index(int x, int y) const noexcept
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

private:
    const ColourNumber* pixels_;
    int width_;
    int height_;
};

class WorkingPicture {
public:
    WorkingPicture() : WorkingPicture(160, 120) {}
    WorkingPicture(int width, int height);

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    int placedWidth() const noexcept { return placedWidth_; }
    int placedHeight() const noexcept { return placedHeight_; }

    PixelGrid grid() const noexcept { return {pixels_.data(), width_, height_}; }

    bool contains(int x, int y) const noexcept { return grid().contains(x, y); }

    ColourNumber colour(int x, int y) const noexcept { return grid().colour(x, y); }

    void setColour(int x, int y, ColourNumber c) noexcept
    {
        if (contains(x, y))
            pixels_[index(x, y)] = c;
    }

    // Fills the box between two corners, both included, in any order; clipped to the grid.
    void fillBox(int x1, int y1, int x2, int y2, ColourNumber c) noexcept;

    // Clears every pixel to one colour; the size stays.
    void clear(ColourNumber c = kBlack) noexcept;

    // A resolution change: the content stays anchored at the top-left, gained pixels
    // are black, and the new grid counts as the picture most recently placed.
    void resize(int width, int height);

    // Replaces the content by a picture of its own size (row by row, top row first).
    void place(int width, int height, std::vector<ColourNumber> pixels);

    // Takes the current content as the picture most recently placed.
    void commit() noexcept;

    // The pixels row by row, top row first.
    const std::vector<ColourNumber>& pixels() const noexcept { return pixels_; }

    friend bool operator==(const WorkingPicture& a, const WorkingPicture& b)
    {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
    }

private:
    std::size_t index(int x, int y) const noexcept { return grid().index(x, y); }

    int width_ = 0;
    int height_ = 0;
    int placedWidth_ = 0;
    int placedHeight_ = 0;
    std::vector<ColourNumber> pixels_;
};

} // namespace tonobild
