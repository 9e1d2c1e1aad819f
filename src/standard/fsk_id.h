// The FSK identification some stations send after the picture: 22 ms bits,
// 1900 Hz for 1 and 2100 Hz for 0, six bits a character least significant
// first, each character its ASCII code minus 0x20; the text framed by 0x20 0x2A
// before it and 0x01 after it, some senders with an XOR checksum before the 0x01.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonobild::standard {

constexpr double kFskBitMs = 22;
constexpr double kFskOneHz = 1900;
constexpr double kFskZeroHz = 2100;

// A callsign as the identification carries it: upper case, the characters
// between 0x20 and 0x5F, at most 16 of them. Empty when nothing is left.
std::string fskText(std::string_view callsign);

// The bits sent for a text, in the order sent.
std::vector<bool> fskBits(std::string_view text);

// The text framed in a run of bits, or none: the frame begins with the
// characters 0x20 0x2A and ends at 0x01; an XOR checksum before the 0x01 is
// taken off when it matches.
std::optional<std::string> fskTextOfBits(const std::vector<bool>& bits);

} // namespace tonobild::standard

#include "standard/tone_measures.h"

namespace tonobild::standard {

// Reads an FSK identification that begins within a second of `from` (track
// samples) in the track, its tones heard as `tones` says.
std::optional<std::string> readFskId(const TrackView& track, double from, const ToneCorrection& tones);

} // namespace tonobild::standard
