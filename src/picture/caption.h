// A caption drawn on a picture before it is sent: one or two lines of text
// (both callsigns and a report, say) at the top or the bottom, in one of a few
// colours, with a thin edge of the opposite brightness so that it reads on
// any picture. Its letters are a twelfth of the picture's height and it keeps
// that much from the edge: at 120 rows the top caption begins under the
// station's signature band (rows 0 to 9).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "picture/colour.h"

namespace tonobild {

enum class CaptionPlace { Top, Bottom };

struct CaptionColour {
    const char* name;
    ColourNumber colour;
};

inline constexpr std::array<CaptionColour, 5> kCaptionColours = {{{"White", kWhite},
                                                                 {"Yellow", colourNumber(255, 255, 0)},
                                                                 {"Black", kBlack},
                                                                 {"Red", colourNumber(255, 0, 0)},
                                                                 {"Cyan", colourNumber(0, 255, 255)}}};

// The colour of a name of kCaptionColours (in that spelling), or none.
std::optional<ColourNumber> captionColourNamed(std::string_view name);

struct Caption {
    std::array<std::string, 2> lines; // UTF-8; an empty line is left out
    CaptionPlace place = CaptionPlace::Bottom;
    ColourNumber colour = kWhite;

    bool empty() const noexcept { return lines[0].empty() && lines[1].empty(); }
    friend bool operator==(const Caption&, const Caption&) = default;
};

} // namespace tonobild
