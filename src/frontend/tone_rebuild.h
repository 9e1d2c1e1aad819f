// Rebuilding a transmission whose top octave a resampler took away.
//
// A pixel group sends a, -a, b, -b (centred levels: a the value, b = 96.5 the
// reference). That is (a + b) / 2 at the transmission's Nyquist frequency and
// (a - b) / 2 times a tone at a quarter of its sample rate (2756 Hz at 11025),
// whose phase marks where each group begins. An ordinary player that resamples
// the file low-passes the first away; the tone, and with it a - b, is left.
// The rebuild demodulates the tone group by group, scales it by the syncs
// (a - b is -80 levels there, the largest swing of the tone), and sends each
// group again as a, -a, b, -b.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tonobild {

// When the crossings of the recording lie about twice as far apart as the holds
// of a transmission at 11025 or 8000 recorded at fileRate, what is left is the
// quarter-rate tone: answers that hold (fileRate / 11025 or fileRate / 8000),
// else 0. samplesPerCrossing as measureHoldLength answers it.
double toneOnlyHold(double samplesPerCrossing, std::uint32_t fileRate);

// The transmitted samples, one per transmitted sample, from the centred
// recording of the tone; hold is the recorded samples per transmitted sample.
std::vector<std::uint8_t> rebuildFromTone(std::span<const float> centred, double hold);

} // namespace tonobild
