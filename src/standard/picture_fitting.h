// Fitting a picture of any size to a mode's size.
#pragma once

#include "picture/working_picture.h"

namespace tonobild::standard {

enum class Fit {
    Bars,    // the whole picture, scaled to fit inside, black bars on the free sides
    Crop,    // the mode's size filled, the picture scaled to cover it and cut at the edges
    Stretch, // the whole picture, its sides scaled apart
};

// Scales with an area-weighted (triangle) filter, so that a picture scaled down
// keeps its detail without aliasing.
WorkingPicture fitPicture(const WorkingPicture& picture, int width, int height, Fit fit);

} // namespace tonobild::standard
