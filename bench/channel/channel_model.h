// What a radio path does to a transmission's samples, for measuring receivers
// without a radio: noise, a sender's sound card whose clock runs off, a
// receiver mistuned by some hertz, the passband of an SSB or NBFM transceiver
// and a sound card recording at another rate. Every step is seeded and
// repeatable, so that every figure measured through it can be made again.
#pragma once

#include <cstdint>
#include <vector>

namespace tonobild::channel {

using Samples = std::vector<float>;

// White noise at a signal-to-noise ratio measured in a 3 kHz band: its power
// per hertz is the signal's power (the mean square of `signal`) over 3000 Hz
// and over 10^(snrDb / 10).
void addNoise(Samples& samples, double rate, double snrDb, double signalPower, std::uint32_t seed);

// The mean square of the samples.
double powerOf(const Samples& samples);

// The samples as a sound card whose clock runs `ppm` parts per million slow
// plays them: every time stretched by 1 + ppm / 1e6, the line period with it.
Samples stretch(const Samples& samples, double ppm);

// Resampled from one rate to another (a recording at 48000 of a 44100 transmission).
Samples resample(const Samples& samples, double fromRate, double toRate);

// Every tone moved by `hz` (a receiver mistuned, an SSB path off tune).
Samples shift(const Samples& samples, double rate, double hz);

// A band-pass of an audio path from `lowHz` to `highHz`.
Samples bandPass(const Samples& samples, double rate, double lowHz, double highHz);

// 6 dB an octave of pre-emphasis at an NBFM sender, and its de-emphasis at the receiver.
Samples preEmphasis(const Samples& samples, double rate);
Samples deEmphasis(const Samples& samples, double rate);

} // namespace tonobild::channel
