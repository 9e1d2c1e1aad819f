// The decode of one transmission found in the track: the line grid fitted to
// its syncs (the sender's true line period), the lines that came in, the tones
// as heard (the mistuning and the sender's clock taken off), the picture read
// line by line in the mode's colours, the colour range read from it, the FSK
// identification after it, and a report of what was found.
#pragma once

#include <cmath>
#include <optional>
#include <string>

#include "picture/working_picture.h"
#include "standard/colour_spaces.h"
#include "standard/line_finder.h"
#include "standard/mode_table.h"
#include "standard/track_buffer.h"

namespace tonobild::standard {

enum class FoundBy { Vis, Lines, Forced };
const char* foundByName(FoundBy how) noexcept;

// What was found: the mode, how, the sender's line period against the mode's
// (ppm), the receiver's mistuning (Hz), the FSK identification, the colour
// range read, the signal-to-noise ratio in a 3 kHz band, the lines that arrived.
struct StandardReport {
    const StandardMode* mode = nullptr;
    FoundBy foundBy = FoundBy::Vis;
    double ppm = 0;
    double offsetHz = 0;
    std::string fskId;
    ColourRange range = ColourRange::Studio;
    double snrDb = 0;
    int lines = 0;
    bool complete = false;
};

// "Martin 1, VIS, +120 ppm, -12 Hz, FSK ID DL1ABC, SNR 24 dB"
std::string describe(const StandardReport& report);

struct StandardPicture {
    WorkingPicture picture;
    StandardReport report;
};

// Where a transmission begins and what it is.
struct FoundTransmission {
    const StandardMode* mode = nullptr;
    FoundBy how = FoundBy::Vis;
    double pictureStart = 0; // track samples of the stream: the lead-in sync or line 0
    double offsetHz = 0;     // the leader's (or, found by its lines, the sync's) tone less its own
    bool lineNumbersKnown = true; // the header says where line 0 begins; found by its lines, a line of unknown number
};

// A transmission found by its lines begins, as far as is known, with the line whose sync was seen.
FoundTransmission foundByLines(const LinesFound& seen);

// What a user sets by hand when decoding a transmission again.
struct ByHand {
    std::optional<double> ppm;      // the sender's line period against the mode's
    std::optional<double> offsetHz; // the receiver's mistuning
};

// How far a clock and a tuning set by hand may lie off: well beyond any sound
// card or receiver, and short of a line period or a tone the search cannot step through.
inline constexpr double kHandPpmReach = 50000;
inline constexpr double kHandOffsetReach = 1000;
inline bool withinReach(double value, double reach)
{
    return std::isfinite(value) && std::abs(value) <= reach;
}

// Decodes the transmission found in the track. A header not followed by its
// mode's lines names no mode: the lines after it are looked at instead (with
// `finder`), and nothing is answered when they make no transmission either.
std::optional<StandardPicture> decodeTransmission(const TrackBuffer& track, FoundTransmission found,
                                                  const ByHand& byHand, double noiseBandwidth, LineFinder& finder);

} // namespace tonobild::standard
