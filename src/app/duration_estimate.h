// The two duration estimates of the main window: timecalc for the labels beside
// the resolution options, and the "NR Method" rule (Option4_Click "None",
// Option5_Click "Active Norm") for the captions of the resolution options
// themselves. Both follow their own formulas, not the exact stream length.
#pragma once

#include <string>

namespace tonobild {

struct DurationLabels {
    std::string label12; // beside 160x120, e.g. "~26 Secs"
    std::string label13; // beside 320x240
    std::string label14; // beside 640x480
    bool operator==(const DurationLabels&) const = default;
};

// slow: "Slow" ticked; cbSelected: the CB mode button selected; halfX, rbHalfX:
// "Half X", "R+B HalfX" ticked ("R+B HalfX" wins when both are).
DurationLabels timecalc(bool slow, bool cbSelected, bool halfX, bool rbHalfX);

struct NrMethodResult {
    int hsync = 0;              // value given to "HSync": 0 for "None", 1 for "Active Norm"
    bool hsyncEnabled = false;  // "HSync" disabled for "None", enabled for "Active Norm"
    std::string option1;        // e.g. "160x120 (~12 Seconds)"
    std::string option2;        // e.g. "320x240 (~48 Seconds)"
    std::string option3;        // e.g. "640x480 (~3 Minutes)"
    bool operator==(const NrMethodResult&) const = default;
};

// Option4_Click (activeNorm false) or Option5_Click (activeNorm true); monoImage:
// "Mono Image" selected. "Time Reduction" clicks run this for whichever of
// Option4, Option5 is selected.
NrMethodResult nrMethodCaptions(bool activeNorm, bool monoImage);

} // namespace tonobild
