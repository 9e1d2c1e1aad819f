// Noise taken out of the picture values as read, by as much as the signal's
// noise calls for: a tone heard through noise reads as a value scattered
// around the true one, with now and then a click far off it. A median of each
// value's neighbours takes out the clicks; non-local means then averages each
// value with those whose neighbourhood looks alike in every plane, so that
// edges stay sharp while flat areas lose their noise. Where each pixel is
// still heard well above the noise, a Wiener filter of the values as read,
// led by non-local means' picture, gives back the detail the median and the
// averaging took with the noise. Deep in the noise, colour differences are
// last made to follow the luminance's shapes. A clean signal is left as read.
#pragma once

#include "standard/scan_planes.h"

namespace tonobild::standard {

struct NoiseReduction {
    bool clicks = false;   // a 3 x 3 median first
    double strength = 0;   // non-local means' filtering strength as a multiple of a plane's noise; 0: none
    int searchRadius = 2;  // non-local means compares values this far either way (2: within 5 x 5; at most 3)
    bool guided = false;   // a second pass, its neighbours weighed by the first pass's picture
    int wienerPasses = 0;  // then the values as read (but colour differences) Wiener-filtered in cosine blocks,
                           // each pass led by the picture before it (non-local means' the first)
    int colourGuideRadius = 0; // colour differences, last, made to follow the luminance within this many values
                               // either way (a guided filter); 0: not
};

// The noise of a plane's values over rows [firstRow, endRow): a robust
// measure of how far each value lies from the one `rowStep` rows below it
// (two for colour differences that a pair of rows shares).
double planeNoise(const ScanPlanes& planes, int plane, int firstRow, int endRow, int rowStep);

// Where a smooth reading of the picture (each value read over its neighbours'
// time too) differs from a sharp one (each over its own time, clicks taken
// out) by more than the sharp reading's noise explains, there is an edge the
// smooth reading blurred: the value moves towards the sharp one, the more the
// difference stands out of the noise (a local Wiener gain, from every plane's
// differences within 3 x 3 together, as an edge lies in all of them).
void keepEdges(ScanPlanes& smooth, const ScanPlanes& sharp, const StandardMode& mode, int firstRow, int endRow);

// Takes the noise out of the planes the mode sends.
void reduceNoise(ScanPlanes& planes, const StandardMode& mode, int firstRow, int endRow,
                 const NoiseReduction& reduction);

} // namespace tonobild::standard
