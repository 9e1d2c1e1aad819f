// Making the working picture ready for transmission after every change of its
// content (p1updat): its resolution, and the signature stamped into it.
//
// The window runs p1updat as: refresh the preview; chooseResolution and select
// the chosen option, whose click resizes the picture only when that option was
// not selected before; putcode; refresh the preview; show readSignatureCaption
// in the read-out. The function p1updat below does the picture's part of that
// sequence in one call.
#pragma once

#include <string>

#include "common/working_state.h"
#include "picture/resolution.h"
#include "picture/working_picture.h"

namespace tonobild {

// The resolution option that fits a picture of the given width:
// wider than 500 gives 640 x 480, wider than 250 gives 320 x 240, else 160 x 120.
Resolution resolutionForWidth(int width) noexcept;

// The option to select for the picture most recently placed.
inline Resolution chooseResolution(const WorkingPicture& picture) noexcept
{
    return resolutionForWidth(picture.placedWidth());
}

// Selects an option: when it differs from the selected one the picture is
// resized to it (content kept at the top-left); when it is the same the picture
// keeps its size.
void selectResolution(WorkingPicture& picture, Resolution& selected, Resolution chosen);

// The picture's part of the preparation: selects the resolution chosen from
// the width of the picture most recently placed, stamps the signature unless
// one is found, and answers the signature read-out.
std::string p1updat(WorkingPicture& picture, WorkingState& state, Resolution& selected, bool compand);

} // namespace tonobild
