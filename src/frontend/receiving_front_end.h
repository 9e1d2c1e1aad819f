// The receiving front end: what a real audio path did to a recording, undone
// before the decoder reads it.
//
// The decoder reads every byte as one sample of the transmission, at the
// transmission's own rate, centred on 127.5. A sound card records at its own
// rate (44100, 48000), holds each transmitted sample for several of its own,
// runs on a clock of its own, and may add a bias. The front end
//   - reads a WAV header when there is one (any rate, 8 or 16 bit, mono or
//     stereo; stereo channels are averaged), else takes the bytes as 8-bit mono;
//   - re-centres the samples on 127.5 (a sound card's or a radio's bias);
//   - measures how many recorded samples each transmitted sample lasts, from
//     the signal itself: every pixel group alternates high and low at each
//     transmitted sample, so the mean distance between crossings of the centre
//     is the hold length, the clock difference between the two sound cards
//     included;
//   - takes the centre of each hold, following the holds with a timing loop so
//     that a drifting clock stays on the flat of each hold;
//   - rebuilds a transmission from the quarter-rate tone when an ordinary
//     player's resampler has taken the rest away.
// A clean stream, and a clean recording with each sample repeated a whole
// number of times, come out as the very samples that were sent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tonobild {

class SampleSource;

struct ConditionReport {
    bool wavHeader = false;       // the recording began with a RIFF/WAVE header
    std::uint32_t fileRate = 0;   // from the header; 0 without one
    int dcOffset = 0;             // levels taken off the samples (the bias found)
    double samplesPerSymbol = 1;  // recorded samples per transmitted sample, as measured
    bool resampled = false;       // false: the samples were passed on, only re-centred
    bool rebuiltFromTone = false; // a resampler had taken the top octave: rebuilt from the tone left
};

// What the front end found, for the user: "WAV at 44100 Hz, bias -17 levels,
// 4.000 samples per transmitted sample".
std::string describe(const ConditionReport& report);

// The transmission as the decoder should read it. Throws WavFormatError when a
// RIFF/WAVE header is there but not one of PCM audio.
std::vector<std::uint8_t> conditionRecording(std::span<const std::uint8_t> recording, ConditionReport* report = nullptr);

// The same for a recording read to its end. Throws what the source throws.
std::vector<std::uint8_t> conditionRecording(SampleSource& recording, ConditionReport* report = nullptr);

// The mean distance in samples between crossings of the centre (with a margin
// of a few levels against noise) over the stretches where the signal
// alternates; 0 when the recording holds no such signal. Samples are centred
// (level - 127.5).
double measureHoldLength(std::span<const float> centred);

} // namespace tonobild
