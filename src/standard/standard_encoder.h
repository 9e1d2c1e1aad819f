// Sends a picture in a standard mode: an optional VOX preamble, the VIS header,
// the picture line by line as the mode's table gives it, and an optional FSK
// identification with the callsign. The picture must have the mode's size
// (see picture_fitting.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "picture/working_picture.h"
#include "standard/colour_spaces.h"
#include "standard/mode_table.h"
#include "standard/tone_writer.h"

namespace tonobild::standard {

struct SendOptions {
    std::uint32_t sampleRate = 44100;
    bool vox = false;
    std::string callsign; // sent as FSK identification when not empty
    ColourRange range = ColourRange::Studio;
    double amplitude = 0.7; // the tone's peak, as a share of full scale
};

// The sample rates a transmission can be written at: enough for its highest tone.
constexpr bool isSendingRate(std::uint32_t rate) noexcept
{
    return rate >= 8000 && rate <= 192000;
}

// How long the transmission lasts: preamble, header, picture, identification.
double transmissionSeconds(const StandardMode& mode, const SendOptions& options);

// Told after each line sent, with the lines sent so far; answers false to stop.
using LineSent = std::function<bool(int linesSent)>;

// Writes the whole transmission into the sink; answers the number of samples
// (fewer when lineSent stopped it). Throws std::invalid_argument for a picture
// of another size or a rate it cannot be written at.
std::uint64_t sendPicture(const StandardMode& mode, const WorkingPicture& picture, const SendOptions& options,
                          const BlockSink& sink, const LineSent& lineSent = {});

} // namespace tonobild::standard
