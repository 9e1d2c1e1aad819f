// Reading a transmission from its quarter-rate tone.
//
// A pixel group sends a, -a, b, -b (centred levels: a the value, b = 96.5 the
// reference): (a + b) / 2 at the transmission's Nyquist frequency and
// (a - b) / 2 times a tone at a quarter of its sample rate (2756 Hz at 11025,
// 2000 Hz with "Slow"). An ordinary player's resampler and every voice channel
// take the first away and leave the tone, whose phase marks each group. The
// reading finds the tone as the strongest steady line near a quarter of the
// rate, the groups on the grid of the line syncs (which also gives the hold
// length of a recording read directly), reads a - b of every group through an
// equaliser trained on the groups of known level, and sends each group again
// as a, -a, b, -b: the syncs and line openings at the very levels they were
// sent at, so that what noise is left never breaks a sync or a line code.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/signal_format.h"
#include "frontend/group_equaliser.h"
#include "frontend/line_grid.h"
#include "frontend/tone_baseband.h"

namespace tonobild {

struct RebuiltTransmission {
    std::vector<std::uint8_t> samples; // one per transmitted sample, from the first group read whole
    EqualisedGroups groups;            // a - b of each group as read, and of the known groups as sent
};

class ToneReading {
public:
    // Looks for the tone near a quarter of the rate each nominal hold (recorded
    // samples per transmitted sample) gives, within a clock 1 % off and a
    // receiver mistuned by 50 Hz, and for the line grid on the strongest. The
    // recording must outlive the reading.
    ToneReading(std::span<const float> centred, std::span<const double> nominalHolds);

    // The tone and its line grid were found.
    bool found() const noexcept { return grid_.found(); }
    double carrier() const noexcept { return baseband_ ? baseband_->carrier() : 0.0; }
    const LineGrid& grid() const noexcept { return grid_; }
    // Recorded samples per transmitted sample, from the grid.
    double hold() const noexcept { return grid_.groupLength / kSamplesPerGroup; }

    // Every group read through the equaliser and sent again; no samples when found() is false.
    RebuiltTransmission rebuild() const;

private:
    std::optional<ToneBaseband> baseband_;
    LineGrid grid_;
};

// The transmitted samples from the centred recording of the tone alone; hold
// is the nominal number of recorded samples per transmitted sample. Empty when
// no tone and grid are found.
std::vector<std::uint8_t> rebuildFromTone(std::span<const float> centred, double hold);

} // namespace tonobild
