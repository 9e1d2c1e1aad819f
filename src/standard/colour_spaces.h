// The colour spaces of the standard modes. Robot and PD modes send luminance
// and colour differences: by the definition in the studio range of ITU-R
// BT.601 (Y from 16 to 235), by many stations in the full (JPEG) range. Values
// are kept unrounded; only a colour handed out is rounded and clamped.
#pragma once

#include "picture/colour.h"

namespace tonobild::standard {

enum class ColourRange { Studio, Full };

const char* colourRangeName(ColourRange range) noexcept;

struct Ycc {
    double luma = 0;
    double redDiff = 128;  // R-Y
    double blueDiff = 128; // B-Y
};

Ycc yccOf(ColourComponents rgb, ColourRange range) noexcept;
ColourComponents rgbOf(const Ycc& ycc, ColourRange range) noexcept;

// How far the studio-range reading of a colour lies outside 0..255 (0 inside).
double studioGamutExcess(const Ycc& ycc) noexcept;

// The luminance a grey picture sends: the full-range Y.
double greyOf(ColourComponents rgb) noexcept;

} // namespace tonobild::standard
