// Digital picture coding: every colour is spread over a nibble pair, the pixels
// (x, y) and (x + 1, y) for odd x from row 1 on. The left pixel carries the
// odd-position binary digits of each channel, the right pixel the even ones,
// both as the top four digits with the band filler 0111 below, so that any
// value within 7 below to 8 above the coded one decodes the same.
//
// Both operations end by committing the drawn picture as the picture most
// recently placed; the window then runs the preparation (p1updat).
#pragma once

#include "picture/working_picture.h"

namespace tonobild {

// Codes the picture column by column: each pair keeps the colour of its left
// column, the right column's own colour is overwritten.
void digitalEncode(WorkingPicture& picture);

// Decodes the picture row by row: each pair's right pixel gets the decoded
// colour, its left pixel the rounded mean of that colour and the colour of the
// pair before (carried across rows; black before the second pair).
void digitalDecode(WorkingPicture& picture);

} // namespace tonobild
