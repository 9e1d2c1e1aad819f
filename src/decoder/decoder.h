// The decode driver: runs a recorded file through the cycle detector and the
// picture assembler, shows progress through the host, honours STOP, and at the
// end rebuilds the picture from the identified lines.
//
// How the window runs a decode ("Decode" and "Res detect"), in this order:
//   1. SampleFile file(path);          // throws FileError: show it, change nothing
//      missingDecodeChoice(settings, controls) not empty: show it, change nothing
//   2. decoder.begin(settings)         // set-up steps on the working state: LIC Lock count
//                                      // (unticks "LIC Lock" through the host), line buffer,
//                                      // xmult, empty line store, stopreq, resolution,
//                                      // YShift, XShift, row 1, synclevel, syncthresh, normlevel
//      The window's own set-up steps around it: before begin, untick "Half X" when
//      "R+B HalfX" is ticked and read the settings; after begin, Label9 "0", disable
//      Encode/Decode/Record/Play, hide the working panel, clear the working picture
//      to black (picture.clear()), show it.
//   3. DecodeEnd end = decoder.run(file);  // the sample loop; yields through
//                                          // host.progressStep() every 1001 ticks
//   4. end == DecodeEnd::Abandoned: stop here (the window is closing).
//      Otherwise decoder.finish()      // rebuild when "Use LIC" is ticked and enabled,
//                                      // re-tick "LIC Lock"; false: abandoned, stop
//   5. The window's end steps: close the file, copy the picture to the preview,
//      enable the buttons, read the signature (Label15_Click), "Decoded".
// STOP ("Command4"): beep and requestStop(state); the loop ends at its next progress step.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/working_state.h"
#include "decoder/cycle_detector.h"
#include "decoder/decoder_controls.h"
#include "decoder/line_identification.h"
#include "decoder/picture_assembler.h"
#include "soundfile/sample_file.h"
#include "common/signal_format.h"
#include "picture/working_picture.h"

namespace tonobild {

enum class DecodeEnd {
    EndOfFile, // every sample read
    Stopped,   // STOP was honoured at a progress step
    ThirdPass, // the row counter wrapped the third time without "Use LIC"
    Abandoned, // the host answered false: no end steps
};

constexpr std::int16_t kStopRequested = -1;

// What "STOP" does besides its beep.
inline void requestStop(WorkingState& state) noexcept
{
    state.stopreq = kStopRequested;
}

class Decoder {
public:
    Decoder(WorkingPicture& picture, WorkingState& state, const DecoderControls& controls, DecoderHost& host);

    // The set-up steps on the working state. Throws std::invalid_argument when
    // missingDecodeChoice() names a choice or the resolution is not one of the three.
    void begin(const DecodeSettings& settings);

    // The sample loop, until the end of the samples, STOP, the third pass or the host abandons it.
    DecodeEnd run(SampleSource& samples);

    // The sample loop over one block, for samples that arrive as they are
    // received: answers how the decode ended inside this block, or nothing
    // when it goes on. Once it has ended, feed it no more.
    std::optional<DecodeEnd> feed(std::span<const std::uint8_t> block);

    // End step 1: the rebuild when "Use LIC" is ticked and enabled (that is with
    // "HSync" ticked); then "LIC Lock" is ticked again when this decode unticked
    // it and never reached its third code. Answers false when the host abandoned the rebuild.
    bool finish();

    int xsiz() const noexcept { return assembler_.xsiz(); }
    int rows() const noexcept { return assembler_.rows(); }
    int passCount() const noexcept { return assembler_.passCount(); }

private:
    bool progressStep(std::optional<DecodeEnd>& end);

    WorkingPicture& picture_;
    WorkingState& state_;
    const DecoderControls& controls_;
    DecoderHost& host_;
    CycleDetector detector_;
    LineIdentification identification_;
    PictureAssembler assembler_;
    bool unlockedLicLock_ = false;
    bool mono_ = false;
};

} // namespace tonobild
