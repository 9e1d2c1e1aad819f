// The receiving front end: what a real audio path did to a recording, undone
// before the decoder reads it.
//
// The decoder reads every byte as one sample of the transmission, at the
// transmission's own rate, centred on 127.5. A sound card records at its own
// rate (44100, 48000), holds each transmitted sample for several of its own,
// runs on a clock of its own, and may add a bias; a player's resampler or a
// voice channel takes away all but the quarter-rate tone. The front end
//   - reads the recording through libsndfile (WAV of any kind, FLAC, OGG,
//     MP3, ...; the channels mixed to one), or takes the station's own
//     headerless samples as they are;
//   - re-centres the samples on 127.5 (a sound card's or a radio's bias);
//   - reads a recording that lost nothing at the hold length that the mean
//     distance between crossings of the centre gives, taking the centre of
//     each hold and following the holds with a timing loop: the fixed
//     reference levels of every pixel group (224 and 31 at every fourth sent
//     sample) then all read right;
//   - when they do not, finds the tone at a quarter of the sent rate that
//     those fixed levels put into every transmission whatever its picture,
//     and the line syncs in it, which give the hold length (the clock
//     difference between the two sound cards included) and where each group
//     lies; reads the holds again on that grid and rebuilds the transmission
//     from the tone through an equaliser that the groups of known level
//     train, and keeps the reading whose known groups came out nearer their
//     levels.
// A clean stream, and a clean recording with each sample repeated a whole
// number of times, come out as the very samples that were sent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tonobild {

class Recording;

struct ConditionReport {
    std::string kind;             // "WAV", "FLAC", "OGG", "MP3", ...; empty: the station's own samples, no header
    std::uint32_t fileRate = 0;   // from the header; 0 without one
    int dcOffset = 0;             // levels taken off the samples (the bias found)
    double samplesPerSymbol = 1;  // recorded samples per transmitted sample, as measured
    bool resampled = false;       // false: the samples were passed on, only re-centred
    bool rebuiltFromTone = false; // rebuilt from the quarter-rate tone, which read steadier than the samples
    double toneHertz = 0;         // where the tone was found (a mistuned receiver moves it); 0: not found or no rate
};

// What the front end found, for the user: "WAV at 44100 Hz, bias -17 levels,
// 4.0000 samples per transmitted sample".
std::string describe(const ConditionReport& report);

// The transmission as the decoder should read it. Throws FileError when the
// recording cannot be read to its end.
std::vector<std::uint8_t> conditionRecording(Recording& recording, ConditionReport* report = nullptr);

// The same for a recording's bytes held in memory: an audio file of any kind
// libsndfile reads, or the station's own samples.
std::vector<std::uint8_t> conditionRecording(std::span<const std::uint8_t> recording, ConditionReport* report = nullptr);

// The mean distance in samples between crossings of the centre (with a margin
// of a few levels against noise) over the stretches where the signal
// alternates; 0 when the recording holds no such signal. Samples are centred
// (level - 127.5).
double measureHoldLength(std::span<const float> centred);

} // namespace tonobild
