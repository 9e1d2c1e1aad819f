#include "signature/preparation.h"

#include "signature/signature_codec.h"

namespace tonobild {

Resolution resolutionForWidth(int width) noexcept
{
    if (width > 500)
        return Resolution::R640x480;
    if (width > 250)
        return Resolution::R320x240;
    return Resolution::R160x120;
}

void selectResolution(WorkingPicture& picture, Resolution& selected, Resolution chosen)
{
    if (chosen == selected)
        return;
    selected = chosen;
    const ResolutionSize size = resolutionSize(chosen);
    picture.resize(size.width, size.height);
}

std::string p1updat(WorkingPicture& picture, WorkingState& state, Resolution& selected, bool compand)
{
    selectResolution(picture, selected, chooseResolution(picture));
    putcode(picture, state, compand);
    return readSignatureCaption(picture, state, compand);
}

} // namespace tonobild
