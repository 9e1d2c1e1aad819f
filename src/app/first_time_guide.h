// The first-time guide (Command22_Click): a configuration that gives a usable
// result on most set-ups, applied control by control in order, then two message
// boxes that explain how to send and receive a picture.
#pragma once

#include <array>
#include <string>

namespace tonobild {

enum class GuideControl { Check, Option, SyncLevel /* VScroll1 */ };

struct GuideStep {
    GuideControl kind;
    int number; // Check10 is {Check, 10}; 0 for the scroll bar
    int value;  // check state, 1 to select an option, or the scroll bar's value
};

// In the order the window applies them, each through its control.
extern const std::array<GuideStep, 13> kGuideSteps;

inline const std::string kGuideConfiguredTitle = "Configured";
inline const std::string kGuideConfiguredText =
    "The program is now configured for optimum compatibility. Click OK for instructions";
inline const std::string kGuideInstructionsTitle = "Instructions";

// The instructions, pieces joined by carriage return and line feed pairs.
std::string guideInstructionsText();

} // namespace tonobild
