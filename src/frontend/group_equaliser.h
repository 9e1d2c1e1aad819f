// Reading a - b of every pixel group off the tone through an equaliser that the
// groups of known level train.
//
// A resampler's filter rounds the edges between groups; a voice channel passes
// the tone's lower side band and cuts into its upper one, and a mistuned
// receiver moves where it cuts: each group's tone reaches the receiver mixed
// with its neighbours' and partly turned out of phase. Every line carries
// groups whose level is known: its seven syncs (-80), its start marker (white,
// 0), its eleven code digits (white or black) and its two guards (black: -64,
// or -32 with "Compand"). A linear equaliser over four readings a group, in
// phase and out of phase, of a group and its neighbours is fitted to them by
// least squares: first to the syncs and markers alone, then, with the digits
// read through that first fit, to all of them, once with black plain and once
// companded; the one that fits better reads every group of the recording.
#pragma once

#include <vector>

#include "frontend/line_grid.h"
#include "frontend/tone_baseband.h"

namespace tonobild {

struct EqualisedGroups {
    std::vector<double> values; // a - b of every group whose readings lie in the recording, -80 to 0
    std::vector<double> known;  // the level of each known group; NaN for the others
    long firstGroup = 0;        // the group of values[0], counted from the grid's first start marker
    bool compand = false;       // the guards were sent companded
};

// Nothing when the grid holds no line whose known groups lie in the recording.
EqualisedGroups equaliseGroups(const ToneBaseband& tone, const LineGrid& grid);

// The RMS distance in levels of the known groups' values from their levels
// (both a - b of each group; NaN for a group not known or not read).
double knownGroupError(const std::vector<double>& values, const std::vector<double>& known);

} // namespace tonobild
