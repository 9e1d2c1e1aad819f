#include "app/first_time_guide.h"

#include <utility>

namespace tonobild {

const std::array<GuideStep, 13> kGuideSteps = {{
    {GuideControl::Check, 10, 1},  // "Slow"
    {GuideControl::Check, 3, 1},   // "Use LIC"
    {GuideControl::Check, 1, 1},   // "HSync"
    {GuideControl::Check, 5, 1},   // "LIC Lock"
    {GuideControl::Check, 2, 1},   // "Half X"
    {GuideControl::Check, 8, 0},   // "Idler"
    {GuideControl::Check, 9, 0},   // "Compand"
    {GuideControl::Check, 11, 0},  // "Third"
    {GuideControl::Option, 24, 1}, // "4-lock" (LIC Inset)
    {GuideControl::Check, 4, 1},   // "Enabled" (Dynamic Sync)
    {GuideControl::Option, 14, 1}, // "+16" (Dynamic Sync)
    {GuideControl::Option, 7, 1},  // "Level 3 (Direct)"
    {GuideControl::SyncLevel, 0, -32},
}};

std::string guideInstructionsText()
{
    // Each piece with the number of line breaks that follow it.
    static const std::pair<const char*, int> pieces[] = {
        {"The configuration which just took place set the settings to the positions which will get some "
         "sort of result",
         1},
        {"Now, you must load a picture. You can do this in a few ways:- 1, Use the scroll bar next to the "
         "testcard to find a picture, then click on it",
         1},
        {"2, You can click on the dash (-) above \"\"load from file\"\", and then browse for a BMP file", 1},
        {"3, You can load from the clipboard. Copy a picture to the clipboard, then click on "
         "\"\"Load from Clipboard\"\"",
         1},
        {"Once you have done this, click on Encode. When this has finished, click on \"\"Play\"\". This will "
         "play the audio through the soundcard",
         2},
        {"To recieve, click on record. Once you hear the transmission beginning, press the spacebar. When it "
         "ends, press the spacebar again",
         1},
        {"Then close sound recorder and save the file. Now click on \"\"Decode\"\". This may take a few "
         "moments. You should then have the picture",
         3},
        {"Troubleshooting:-", 1},
        {"Try setting the active normalising level under \"\"Adjust the Active Normalising\"\" to 2. This "
         "may help",
         0},
    };
    std::string text;
    for (const auto& [piece, breaks] : pieces) {
        text += piece;
        for (int i = 0; i < breaks; ++i)
            text += "\r\n";
    }
    return text;
}

} // namespace tonobild
