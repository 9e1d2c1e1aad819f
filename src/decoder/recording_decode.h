// The decode of a whole recording, written once for the window's Decode, the
// command line and the recording kept of a transmission heard live: the set-up
// steps, every block of the samples, and the end steps unless the host
// abandoned the decode.
#pragma once

#include <optional>

#include "common/working_state.h"
#include "decoder/decoder.h"
#include "picture/working_picture.h"
#include "soundfile/sample_file.h"

namespace tonobild {

// Runs the samples through the decoder from its set-up to its rebuild; answers
// how the decode ended, Abandoned when the host abandoned it (then without the
// end steps), also during the rebuild. Throws what the samples throw, and
// std::invalid_argument as Decoder::begin does.
DecodeEnd decodeRecording(Decoder& decoder, const DecodeSettings& settings, SampleSource& samples);

struct DecodedRecording {
    WorkingPicture picture;
    WorkingState state;
    DecodeEnd end = DecodeEnd::EndOfFile;
    bool tookLine = false; // see tookAnyLine
    bool complete = false; // see lastLineIn
};

// A decode without a window (the command line, a kept recording): on a working
// state as start-up leaves it, with a host that never yields and keeps "LIC
// Lock" in its own copy of the controls.
DecodedRecording decodeUnattended(SampleSource& samples, DecoderControls controls, const DecodeSettings& settings);

// A line was filed by its code or, without identified lines, painted at its
// sync: a leader cut short or a whistle takes none.
bool tookAnyLine(const WorkingState& state, const Decoder& decoder, const DecoderControls& controls);

// The last line has come in: the last slot of the line store is filled, or the
// decode ended with its third pass (end is nothing while it goes on).
bool lastLineIn(const WorkingState& state, const Decoder& decoder, bool mono, std::optional<DecodeEnd> end);

} // namespace tonobild
