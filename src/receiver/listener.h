// Live reception: a continuous stream of samples from the input device goes
// in, block by block as the device delivers it; each transmission found in it
// comes out as a received picture with its recording.
//
// The listener runs the watch of every signal family it is given over each
// block (family/transmission_finder.h). While nothing is received it keeps a
// ring of the latest samples, as long as the family that recognises a
// transmission latest needs. When a family finds one, its samples are kept
// from where it began and handed to that family's reception as they arrive,
// for the live picture. A transmission ends
//   - when its signal has been gone for the family's silence;
//   - at once when its signal goes after its last line has come in;
//   - when a family finds the opening of the next one after it took a line,
//     which starts the next one there;
//   - when it has run longer than the family's longest transmission can.
// The recording is cut where the signal ended, to an even length (a WAV
// file's data is of even length: an odd one would be padded with a byte that
// a decode of the file reads as a sample), and the family decodes it into the
// picture handed out. A part that took no line (a leader cut short, a
// whistle) is said to have held no picture.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "common/pass_progress.h"
#include "family/transmission_finder.h"
#include "picture/working_picture.h"

namespace tonobild {

class ListenerHost {
public:
    virtual ~ListenerHost() = default;
    // A transmission begins; the family reads its settings when this returns,
    // so the window can bring them up to date here.
    virtual void transmissionBegins() {}
    // A transmission has ended; its picture, read-out and recording.
    virtual void received(ReceivedPicture picture) = 0;
    // What began has ended without a line of picture (a whistle, a voice):
    // nothing was received.
    virtual void nothingReceived() {}
};

class Listener {
public:
    // Listens for the transmissions of every family given, each of which
    // begins watching the stream at its rate.
    Listener(std::span<TransmissionFinder* const> families, std::uint32_t sampleRate, ListenerHost& host);
    ~Listener();

    // The next block of samples from the input device, 8-bit unsigned mono at the sample rate.
    void feed(std::span<const std::uint8_t> block);

    // Listening ends: a transmission still coming in is handed out with the rows that arrived.
    void finish();

    bool receiving() const noexcept;
    // The family whose transmission is coming in, or null.
    const TransmissionFinder* receivingFamily() const noexcept;
    std::uint32_t sampleRate() const noexcept { return sampleRate_; }

    // Where the transmission coming in stands; "listening" while none is.
    PassProgress progress() const;
    // Seconds until its last line.
    double secondsLeft() const;
    // The transmission coming in as it stands.
    void paintLivePicture(WorkingPicture& out) const;

private:
    struct Family {
        TransmissionFinder* finder;
        ListeningNeeds needs;
    };
    struct Transmission {
        const Family& family;
        std::unique_ptr<Reception> reception;
        std::uint64_t start;
        std::vector<std::uint8_t> recording;
    };
    struct Found {
        const Family* family;
        WatchEvent event;
    };

    void watchBlock(std::span<const std::uint8_t> block);
    void handle(const Found& found);
    void passOn(std::span<const std::uint8_t> samples);
    void keepInRing(std::span<const std::uint8_t> samples);
    void keepInTransmission(std::span<const std::uint8_t> samples);
    void begin(const Family& family, std::uint64_t start);
    void begin(const Family& family, std::uint64_t start, std::span<const std::uint8_t> firstSamples);
    void end(std::uint64_t cut);
    void checkEnd();

    std::uint32_t sampleRate_;
    ListenerHost& host_;
    std::vector<Family> families_;
    std::size_t ringLength_ = 0;
    std::uint64_t passedOn_ = 0;     // samples of the stream passed on so far
    std::vector<std::uint8_t> ring_; // the latest samples, while no transmission is coming in
    std::vector<Found> found_;       // what the watches found in the block
    std::vector<WatchEvent> events_; // what one family's watch found in the block
    std::unique_ptr<Transmission> current_;
};

} // namespace tonobild
