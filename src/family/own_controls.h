// The design's numbered controls as the fields of the station's own encoder
// and decoder: which check box or option button each field is read from.
//
//   decoder, at every use     Check1 HSync, Check3 Use LIC, Check5 LIC Lock, Check4 Dynamic Sync,
//                             Check8 Idler, Check9 Compand, Check11 Third, Option17..24 LIC Inset
//   decoder, at its start     Option1..3 resolution, Check2 Half X (Check7 R+B HalfX unticks it),
//                             Option6/7 Active Normalising level, Option12..14 Dynamic Sync offset
//   encoder, at its start     Option1..3 resolution, Check2 Half X, Option9 Mono Image,
//                             Check10 Slow (and with Option16, the CB mode, a leader of one second)
//   encoder, at every group   Check9 Compand
//
// The window reads its widgets through it, and "--mode" the values a preset leaves.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "decoder/decode_option_table.h"
#include "encoder/encoder.h"
#include "settings/numbered_controls.h"

namespace tonobild {

inline constexpr int kHalfXCheck = 2;
inline constexpr int kCompandCheck = 9;
inline constexpr int kSlowCheck = 10;
inline constexpr int kMonoImageOption = 9; // "Time Reduction": "Mono Image"
inline constexpr int kCbModeOption = 16;   // the CB mode button

// A check box the decoder reads at every use, and the control it sets.
struct DecoderCheck {
    int check;
    bool DecoderControls::*field;
};
std::span<const DecoderCheck> decoderChecks() noexcept;

// The decoder's controls and settings as the numbered controls hold them. The
// settings that no numbered control holds (Sync Level, XShift, YShift, mono
// reception) keep their defaults; a group with nothing selected gives 0.
DecodeSetup numberedDecodeSetup(const NumberedControls& controls);

// The encoder's settings, taken when an encode starts; nothing when no
// resolution option is selected.
std::optional<EncoderSettings> numberedEncoderSettings(const NumberedControls& controls);
// "Compand", which the encoder reads again for every group.
EncoderControls numberedEncoderControls(const NumberedControls& controls);
// 8000 samples per second with "Slow", else 11025.
std::uint32_t numberedTransmissionRate(const NumberedControls& controls);

} // namespace tonobild
