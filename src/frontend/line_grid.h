// Where the lines and pixel groups of a transmission lie in a recording of its
// tone, read from the line syncs.
//
// Every line ends in a run of seven sync groups (a - b = -80, the lowest the
// tone goes) and goes on with its start marker (white, a - b = 0): the tone's
// largest rise, once a line, whatever the picture. The rises are found, their
// spacing gives the groups per line (80, 160, 320 or 640), and a straight line
// through all of them gives the length of a group and where each group lies,
// to a small fraction of a sample over the whole recording: the rate of the
// sender's sound card as the receiving one counted it, whatever the picture
// and whatever the tuning of a receiver that shifted the tone. Where the
// tone's lowest levels give no grid (a channel whose edge cuts the tone's own
// frequency), its levels over the length of a sync run give the syncs' level.
#pragma once

#include <vector>

#include "frontend/tone_baseband.h"

namespace tonobild {

struct LineGrid {
    double firstMarker = 0;  // the centre of the first line's start marker, in recorded samples
    double groupLength = 0;  // recorded samples per pixel group
    int groupsPerLine = 0;   // 80, 160, 320 or 640
    int lines = 0;           // lines from the first start marker found to the last; 0: none found

    bool found() const noexcept { return lines > 0; }
    // The centre of a group, counted from the first line's start marker.
    double centre(long group) const noexcept { return firstMarker + static_cast<double>(group) * groupLength; }
};

// The grid of the transmission whose tone `tone` holds; nominalGroupLength is
// the group length the file's rate gives, within 3 %.
LineGrid findLineGrid(const ToneBaseband& tone, double nominalGroupLength);

// The tone's level at the syncs, the lowest of all: the lowest hundredth of
// the levels finds their cluster, and its middle is taken from every level
// within a tenth of it (black, the next level up, lies a fifth higher). Levels
// are a - b on any scale.
double syncLevel(std::vector<double> levels);

} // namespace tonobild
