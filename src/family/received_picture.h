// A picture received live, whatever family sent it: what the gallery keeps,
// what the window and "tonobild-cli listen" show, and what decodes the kept
// recording again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/working_picture.h"

namespace tonobild {

struct ReceivedPicture {
    WorkingPicture picture;
    std::vector<std::uint8_t> recording; // the samples kept, 8-bit unsigned mono, without a header
    std::uint32_t sampleRate = 0;        // the recording's rate: the input device's
    std::uint64_t startSample = 0;       // where the recording begins in the stream listened to
    bool tookLine = false;               // a line of picture was received
    bool complete = false;               // the last line came in
    std::string family;                  // the signal family that sent it
    std::string mode;                    // the family's mode: its settings or its name
    std::string namePart;                // for the gallery's file name: the sender's codeword or callsign; may be empty
    std::string report;                  // one line (Latin-1) for the index and the window: what was read of the sender
    std::string decodeOptions;           // the options of "tonobild-cli decode" that decode the kept recording again

    double seconds() const noexcept { return sampleRate ? static_cast<double>(recording.size()) / sampleRate : 0; }
};

} // namespace tonobild
