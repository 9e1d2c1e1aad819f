// The fixed texts of the main window. The runs of blanks break the lines in
// the station's narrow help labels and are part of the texts.
#pragma once

#include <array>
#include <string>

namespace tonobild::help {

inline std::string blanks(std::size_t count)
{
    return std::string(count, ' ');
}

inline std::string howToUse()
{
    return "To use:- Click on record, then as soon as the transmission starts, press the spacebar. "
           "When the transmission ends, close sound recorder and save the file. Then click on \"Decode\", "
           "and see the picture decoding. Once the picture has decoded, type the file name to save to in "
           "the \"Output pic file name\", then click on \"Save\"";
}

inline std::string receptionProblems()
{
    return "If you are having problems recieving a transmission, try:-" + blanks(25) +
           "1: Try another active normalizing level," + blanks(52) +
           "2: Turn off HSync, then click on decode. When you see the start of the picture, click on stop, "
           "then click on the top-left of the picture, then click on Decode again.";
}

// The legend of the five mode buttons: a heading, then one phrase per button,
// in the order of the buttons (FM, CB, HAM, TAPE, HIRES).
inline std::string modeLegendHeading()
{
    return "The standard transmission resolution is:-";
}

inline const std::array<std::string, 5>& modeLegendPhrases()
{
    static const std::array<std::string, 5> phrases = {
        "160x120 for FM radio transmission, otherwise verbally specified,",
        "80x120 for CB radio. CQ Channel 33 only, Only legal resolution,",
        "320x240 or 160x120-Ham. Res Verbally specified,-27.260MHz FM",
        "160x120 for Picture Tapes,",
        "640x480 for High resolution transmissions.",
    };
    return phrases;
}

inline std::string credits()
{
    return "Tonobild 3, the slow-scan picture station, written and maintained by the Tonobild 3 developers.";
}

} // namespace tonobild::help
