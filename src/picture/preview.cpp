#include "picture/preview.h"

#include <cmath>

#include "common/numbers.h"

namespace tonobild {

double previewScale(int previewWidth, int pictureWidth) noexcept
{
    if (pictureWidth <= 0)
        return 1.0;
    const double unrounded = static_cast<double>(previewWidth) / pictureWidth;
    const double rounded = std::floor(unrounded);
    return rounded > 0 ? rounded : unrounded;
}

namespace {

int pictureCoordinate(double previewCoordinate, double scale) noexcept
{
    return clampToRange(static_cast<long long>(std::floor(previewCoordinate / scale)), INT16_MIN, INT16_MAX);
}

} // namespace

PicturePosition previewClickPosition(double x, double y, int previewWidth, int pictureWidth) noexcept
{
    const double scale = previewScale(previewWidth, pictureWidth);
    return {pictureCoordinate(x, scale), pictureCoordinate(y, scale)};
}

int previewClickColumn(double x, int previewWidth, int pictureWidth) noexcept
{
    return pictureCoordinate(x, previewScale(previewWidth, pictureWidth));
}

void blackenLeftColumns(WorkingPicture& picture, int lastColumn) noexcept
{
    picture.fillBox(0, 0, lastColumn, picture.height(), kBlack);
}

} // namespace tonobild
