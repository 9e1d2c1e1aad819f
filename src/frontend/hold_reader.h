// Reading a recording directly: each transmitted sample taken at the centre
// of its hold, following the holds with a timing loop.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tonobild {

// The held value at the centre of every hold, from the centred recording;
// hold is the recorded samples per transmitted sample, at least 1.5, and
// firstCentre the centre of the first hold read. Each hold is read narrow and
// wide (see hold_reader.cpp), and the reading with the steadier reference
// cycles is kept. Digital silence is read as the level it holds, and the first
// hold after it begins where it ends.
std::vector<std::uint8_t> readHolds(std::span<const float> centred, double hold, double firstCentre);

// How far the reference cycles (224 and 31, the second cycle of every group)
// of transmitted samples lie from their levels: the RMS distance in levels,
// each stretch of groups taken at the sample where they begin in it. Silence
// is no signal and is not measured; where nothing is measured the answer is
// infinite, as nothing shows the reading steady.
double referenceError(std::span<const std::uint8_t> samples);

} // namespace tonobild
