// The preview that shows the working picture, and the clicks on it.
#pragma once

#include "picture/working_picture.h"

namespace tonobild {

// The preview shows the working picture on an area of this size.
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 240;

// Preview units per picture column: the preview width over the picture width
// rounded down, or not rounded when that would be 0 (a picture wider than the
// preview). A picture without columns maps at scale 1.
double previewScale(int previewWidth, int pictureWidth) noexcept;

struct PicturePosition {
    int x = 0;
    int y = 0;
    friend bool operator==(const PicturePosition&, const PicturePosition&) = default;
};

// A left click on the preview: the picture position under the mouse, which
// becomes the XShift and YShift read-outs.
PicturePosition previewClickPosition(double x, double y, int previewWidth, int pictureWidth) noexcept;

// Any other click on the preview: the last column to blacken (columns 0 to n).
int previewClickColumn(double x, int previewWidth, int pictureWidth) noexcept;

// Blackens the columns 0 to lastColumn over the whole height; the window then
// runs the preparation again.
void blackenLeftColumns(WorkingPicture& picture, int lastColumn) noexcept;

} // namespace tonobild
