// The picture of a transmission as its lines come in: each line read once, as
// soon as all of it has arrived, on a grid fitted to the syncs that have come
// in so far (the sender's clock is known better with every line). The receiver
// straightens the whole picture again at the end (transmission_decode.h).
#pragma once

#include <vector>

#include "standard/line_grid.h"
#include "standard/picture_reader.h"
#include "standard/scan_planes.h"

namespace tonobild::standard {

class LiveReading {
public:
    // `firstLine`: where line 0 begins in the track, as far as is known.
    LiveReading(const StandardMode& mode, double trackRate, double firstLine, const ToneCorrection& tones);

    // The track has grown (from the same first sample): reads the lines that have come in whole.
    void extend(const TrackView& track);

    int linesIn() const noexcept { return linesRead_; }
    // The syncs have gone unheard for longer than a fade: the signal has gone.
    bool signalGone() const noexcept { return heard_.gone(); }
    // Where the last line whose sync was heard ends, in track samples.
    double lastSyncedLineEnd() const noexcept { return grid_.lineStart(heard_.run().last + 1); }
    const ScanPlanes& planes() const noexcept { return planes_; }

private:
    void findSync(const TrackView& track, int line);

    const StandardMode& mode_;
    LineGrid grid_;
    LinesHeard heard_;
    ToneCorrection tones_;
    FrequencyTrack frequency_;
    ScanPlanes planes_;
    std::vector<double> lines_, syncs_, weights_; // the syncs found so far
    int syncsLookedFor_ = 0;
    int linesRead_ = 0;
};

} // namespace tonobild::standard
