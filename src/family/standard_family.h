// The standard slow-scan modes as a signal family: their sender behind
// PictureSender (16-bit signed samples at 44100 or 48000 per second), their
// receiver behind TransmissionFinder. Unlike the station's own format, a
// standard transmission names its mode in its VIS header, so a receiver needs
// no choice made beforehand.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "family/picture_sender.h"
#include "family/transmission_finder.h"
#include "standard/picture_fitting.h"
#include "standard/standard_encoder.h"
#include "standard/standard_receiver.h"

namespace tonobild {

inline constexpr std::string_view kStandardFamily = "Standard";

struct StandardReceiving; // what the finder and its reception share of a transmission coming in

struct StandardSendSettings {
    const standard::StandardMode* mode = nullptr;
    standard::SendOptions options;         // rate, VOX, callsign, colour range
    standard::Fit fit = standard::Fit::Bars; // how a picture of another shape is fitted
};

// A picture sent in a standard mode, fitted to the mode's size as it is sent.
class StandardSender final : public PictureSender {
public:
    StandardSender(const WorkingPicture& picture, StandardSendSettings settings);

    SampleFormat format() const override { return {settings_.options.sampleRate, 16}; }
    std::uint64_t sampleCount() const override;
    std::string contents() const override; // "256 lines of Martin 1"
    // A progress step after every line.
    bool send(SampleSink& sink, const SendProgress& progress) override;

private:
    const WorkingPicture& picture_;
    StandardSendSettings settings_;
};

// The text of "tonobild-cli decode --standard" options that decode a received
// transmission again as it was received (or with the mode, clock and tuning set by hand).
std::string standardDecodeOptions(const standard::StandardReport& report, const standard::ReceiveOptions& options);

// The received picture of a standard transmission's recording (8-bit unsigned
// samples), decoded as "tonobild-cli decode --standard" decodes the WAV file it
// is saved as; nothing when it holds no standard transmission.
std::optional<ReceivedPicture> decodeStandardRecording(std::vector<std::uint8_t> samples, std::uint32_t sampleRate,
                                                       const standard::ReceiveOptions& options = {});

// Live reception of the standard modes: a transmission is found by its VIS
// header (within a second of its start) or, when that was missed, by the
// rhythm of its lines (within about twelve seconds), and ends when its last
// line and the time for an FSK identification are in, or when its syncs stop.
class StandardFinder final : public TransmissionFinder {
public:
    static constexpr double kLookBackSeconds = 14;
    static constexpr double kSilenceSeconds = 2.0;

    std::string missingChoice() const override { return {}; }
    ListeningNeeds listen(std::uint32_t sampleRate) override;
    void watch(std::span<const std::uint8_t> block, std::vector<WatchEvent>& found) override;
    SignalState signal() const override;
    std::unique_ptr<Reception> receive() override;

private:
    void watchFrom(std::uint64_t position);

    std::uint32_t sampleRate_ = 0;
    std::uint64_t position_ = 0;    // samples of the stream watched so far
    std::uint64_t watchedFrom_ = 0; // where the watching receiver's stream began
    std::uint64_t lastFound_ = 0;   // where the transmission found last begins
    std::unique_ptr<standard::StandardReceiver> watcher_;
    std::vector<float> floats_;
    std::shared_ptr<StandardReceiving> receiving_; // the transmission being received
};

} // namespace tonobild
