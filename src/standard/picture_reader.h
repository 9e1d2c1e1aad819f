// Reads the picture values of every line out of the tone's frequency, on the
// fitted line grid: each value is the tone's mean frequency over the middle of
// its pixel, less the receiver's mistuning.
#pragma once

#include <vector>

#include "standard/line_grid.h"
#include "standard/scan_planes.h"

namespace tonobild::standard {

struct PictureReading {
    ToneCorrection tones;     // from the tones heard to the tones sent
    int parityPhase = 0;      // the line whose tones are the even line's: 0 or 1
    double pixelShare = 0.6;  // the middle share of a pixel whose frequency is averaged (more than 1: its neighbours' too)
    double colourShare = 0.6; // the same for the colour differences of Robot and PD modes
    double edgeGuardMs = 0.5; // a scan's end pixels are read no nearer its ends
    double bandHz = 0;        // the half width of the band the tone is read in, around the leader's tone; 0: the track's own
};

// Which lines carry the even line's tones, for modes whose lines alternate
// (Robot 36's separator): 0 when line 0 does, 1 when line 1 does, by the vote
// of every line that arrived.
int parityPhase(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid,
                const ToneCorrection& tones);

// Reads the grid's lines of the run, as far as the track reaches, into the
// picture's lines `shift` further on; answers how many lines were read.
int readLines(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid,
              const PictureReading& reading, const LineRun& run, int shift, ScanPlanes& planes);

} // namespace tonobild::standard
