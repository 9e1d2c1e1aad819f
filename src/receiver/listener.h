// Live reception: a continuous stream of samples from the input device goes
// in, block by block as the device delivers it; each transmission found in it
// comes out as a received picture with its recording.
//
// While nothing is received only the transmission watch runs, over a short
// ring of the latest samples. When a transmission begins, its samples are kept
// from the first cycle in step on and run through the decoder as they arrive,
// for the live picture. When it ends, the kept recording, behind the WAV header
// it is saved with, is decoded once more from its first byte with the options
// as they stood when the transmission began: the picture handed out is, bit
// for bit, what a decode of the saved recording file makes of it.
//
// A transmission ends
//   - when its signal has been gone for kSilenceSeconds: fades and bursts of
//     noise shorter than that stay inside it, and the watch does not depend
//     on the decoder's settings being right, as accepted syncs would;
//   - at once when its signal goes after the last line has come in (the last
//     line of the last pass filed, or the decode ended with its third pass);
//   - when the leader of the next one begins, which starts the next one there;
//   - when it has run longer than the longest transmission can.
// The recording is cut where the signal was last in step: the silence or noise
// after it never reaches the decoder. A part that took no line (a leader cut
// short, a whistle) is dropped without a word.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/pass_progress.h"
#include "decoder/decoder_controls.h"
#include "picture/working_picture.h"
#include "receiver/transmission_watch.h"

namespace tonobild {

struct ReceivedPicture {
    WorkingPicture picture;
    std::string signatureCode;    // the signature text read, or empty
    std::string signatureCaption; // the read-out shown for it
    std::vector<std::uint8_t> recording; // the samples kept, without a header
    std::uint32_t sampleRate = 0;
    std::uint64_t startSample = 0; // where the recording begins in the stream listened to
    bool tookLine = false;         // a line was filed or painted
    bool complete = false;         // the last line came in
    DecoderControls controls;      // the options the picture was decoded with
    DecodeSettings settings;

    double seconds() const noexcept { return sampleRate ? static_cast<double>(recording.size()) / sampleRate : 0; }
    // The codeword of the signature: what follows its class letter.
    std::string codeword() const;
};

// Decodes a recording held in memory as "tonobild-cli decode" decodes the WAV
// file it is saved as: the 44-byte header first, then the samples.
ReceivedPicture decodeRecording(std::vector<std::uint8_t> samples, std::uint32_t sampleRate,
                                DecoderControls controls, const DecodeSettings& settings);

class ListenerHost {
public:
    virtual ~ListenerHost() = default;
    // A transmission begins; the settings are read when this returns, so the
    // window can bring them up to date here.
    virtual void transmissionBegins() {}
    // A transmission has ended; its picture, read-out and recording.
    virtual void received(ReceivedPicture picture) = 0;
    // What began has ended without a line of picture (a whistle, a voice):
    // nothing was received.
    virtual void nothingReceived() {}
    // The live decode unticks or ticks "LIC Lock", as a decode does.
    virtual void setLicLock(bool /*ticked*/) {}
};

class Listener {
public:
    static constexpr double kSilenceSeconds = 2.0;

    // The controls are read at every use and the settings when a transmission
    // begins, both by reference, as the window's Decode reads them.
    Listener(const DecoderControls& controls, const DecodeSettings& settings, std::uint32_t sampleRate,
             ListenerHost& host);
    ~Listener();

    // The next block of samples from the input device, 8-bit unsigned mono at the sample rate.
    void feed(std::span<const std::uint8_t> block);

    // Listening ends: a transmission still coming in is handed out with the rows that arrived.
    void finish();

    bool receiving() const noexcept;
    std::uint32_t sampleRate() const noexcept { return sampleRate_; }

    // Where the transmission coming in stands; "listening" while none is.
    PassProgress progress() const;
    // Seconds until its last line, at the rate its cycles come in.
    double secondsLeft() const;
    // The transmission coming in as it stands: with identified lines, rebuilt
    // from the lines that have arrived; else as painted so far.
    void paintLivePicture(WorkingPicture& out) const;

private:
    struct Transmission;
    void handle(TransmissionWatch::Event event);
    void passOn(std::span<const std::uint8_t> samples);
    void keepInRing(std::span<const std::uint8_t> samples);
    void begin(std::uint64_t start);
    void begin(std::uint64_t start, std::span<const std::uint8_t> firstSamples);
    std::size_t ringLength() const noexcept;
    void end(std::uint64_t cut);
    void checkEnd();
    std::uint64_t afterLastSteadyCycle() const noexcept;
    std::uint64_t longestRecording() const noexcept;

    const DecoderControls& controls_;
    const DecodeSettings& settings_;
    std::uint32_t sampleRate_;
    ListenerHost& host_;
    TransmissionWatch watch_;
    std::uint64_t passedOn_ = 0;     // samples of the stream passed on so far
    std::vector<std::uint8_t> ring_; // the latest samples, while no transmission is coming in
    std::unique_ptr<Transmission> current_;
};

} // namespace tonobild
