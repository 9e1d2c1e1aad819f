#include "picture/caption.h"

namespace tonobild {

std::optional<ColourNumber> captionColourNamed(std::string_view name)
{
    for (const CaptionColour& colour : kCaptionColours)
        if (name == colour.name)
            return colour.colour;
    return std::nullopt;
}

} // namespace tonobild
