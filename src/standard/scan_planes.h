// A picture as the planes that a mode's scans read and write: red, green and
// blue for the RGB modes; luminance and the two colour differences for Robot
// and PD modes (whose colour differences belong to a pair of rows); luminance
// alone for the grey modes. Values are unrounded picture values, 0..255.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "picture/working_picture.h"
#include "standard/colour_spaces.h"
#include "standard/mode_table.h"

namespace tonobild::standard {

class ScanPlanes {
public:
    // Black planes of the mode's size (colour differences at their middle, 128).
    explicit ScanPlanes(const StandardMode& mode);

    // The planes a sender reads for a picture of the mode's size.
    static ScanPlanes ofPicture(const WorkingPicture& picture, const StandardMode& mode, ColourRange range);

    // The values the scan `part` of `line` carries.
    std::span<const float> scan(const StandardMode& mode, int line, const LinePart& part) const;
    // Puts a received scan in its place; `channel` is what the line carried there.
    void putScan(const StandardMode& mode, int line, Channel channel, std::span<const float> values);

    // Robot and PD send each pair of rows the mean of its colour differences,
    // which belongs between the pair's two rows: each row of [firstRow, endRow)
    // is given the value there, three parts its pair's and one part the nearer
    // neighbouring pair's (its own where that was not received).
    void placeColourBetweenPairs(const StandardMode& mode, int firstRow, int endRow);

    // The picture the planes hold, in the colour space of the mode's family.
    WorkingPicture picture(const StandardMode& mode, ColourRange range) const;

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    std::span<float> row(int plane, int y) noexcept;
    std::span<const float> row(int plane, int y) const noexcept;

private:
    struct Place {
        int plane;
        int row;
    };
    static Place placeOf(const StandardMode& mode, int line, Channel channel) noexcept;
    void averageColourPairs();

    int width_;
    int height_;
    std::array<std::vector<float>, 3> planes_;
};

} // namespace tonobild::standard
