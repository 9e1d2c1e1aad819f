// The station's own format as a signal family: its encoder behind
// PictureSender, its transmission watch and decoder behind TransmissionFinder.
// Its transmissions are 8-bit unsigned samples at 11025 or 8000 per second
// (signal_format.h); a receiver must be set to the sender's resolution, "Half
// X", "Compand" and mono, which no field of the signal names.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "decoder/decoder_controls.h"
#include "detector/transmission_watch.h"
#include "encoder/encoder.h"
#include "family/picture_sender.h"
#include "family/transmission_finder.h"

namespace tonobild {

inline constexpr std::string_view kOwnFamily = "Tonobild";

// An encode of the working picture. The picture and "Compand" are read as the
// groups go out, as the encoder reads them, so a change made at a progress
// step applies from the next group on.
class OwnSender final : public PictureSender {
public:
    OwnSender(const WorkingPicture& picture, const EncoderControls& controls, WorkingState& state,
              const EncoderSettings& settings, std::uint32_t rate);

    SampleFormat format() const override { return {rate_, 8}; }
    std::uint64_t sampleCount() const override;
    std::string contents() const override; // "71542 groups"
    // A progress step every 10001 groups: the line and pass reached.
    bool send(SampleSink& sink, const SendProgress& progress) override;

private:
    const WorkingPicture& picture_;
    const EncoderControls& controls_;
    WorkingState& state_;
    EncoderSettings settings_;
    std::uint32_t rate_;
};

// The live decode unticks "LIC Lock" and ticks it again, as a decode does;
// the window's check box follows.
using LicLockFollower = std::function<void(bool ticked)>;

// Live reception of the own format. A transmission begins at its first cycle
// in step (found 64 cycles later, well inside the half second kept), and ends
//   - when its signal has been gone for kSilenceSeconds: fades and bursts of
//     noise shorter than that stay inside it, and the watch does not depend
//     on the decoder's settings being right, as accepted syncs would;
//   - at once when its signal goes after the last line has come in;
//   - when the leader of the next one begins;
//   - when it has run longer than the longest transmission can.
// The kept recording is decoded, behind the WAV header it is saved with, with
// the options as they stood when the transmission began: the picture is, bit
// for bit, what "tonobild-cli decode" makes of the saved file.
class OwnFinder final : public TransmissionFinder {
public:
    static constexpr double kSilenceSeconds = 2.0;

    // The controls are read at every use and the settings when a transmission
    // begins, both by reference, as the window's Decode reads them.
    OwnFinder(const DecoderControls& controls, const DecodeSettings& settings, LicLockFollower followLicLock);

    std::string missingChoice() const override;
    ListeningNeeds listen(std::uint32_t sampleRate) override;
    void watch(std::span<const std::uint8_t> block, std::vector<WatchEvent>& found) override;
    SignalState signal() const override;
    std::unique_ptr<Reception> receive() override;

private:
    std::uint64_t afterLastSteadyCycle() const noexcept;

    const DecoderControls& controls_;
    const DecodeSettings& settings_;
    LicLockFollower followLicLock_;
    std::uint32_t sampleRate_ = 0;
    std::optional<TransmissionWatch> watch_;
};

} // namespace tonobild
