// The caption drawn on a copy of a picture (picture/caption.h): what is sent,
// and what the preview shows before Encode.
#pragma once

#include "picture/caption.h"
#include "picture/working_picture.h"

namespace tonobild {

// The picture with the caption drawn on it; the picture itself when the caption is empty.
WorkingPicture withCaption(const WorkingPicture& picture, const Caption& caption);

} // namespace tonobild
