// Something that finds and receives one signal family's transmissions in a
// continuous stream of samples: 8-bit unsigned mono blocks from the input
// device, at the device's own rate, as the listener (receiver/listener.h)
// hands them on.
//
// A family's watch takes the stream block by block and recognises a
// transmission some time after it began (from a run of cycles in step, a
// header, or several line syncs of a transmission joined late), so what it
// finds names past positions of the stream; each family says how far back
// that reaches, and the listener keeps that much while nothing is received.
// A transmission found is received by a Reception of the same family: fed its
// samples as they come in, showing where it stands, and at its end decoding
// the recording kept of it into a received picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/pass_progress.h"
#include "family/received_picture.h"
#include "picture/working_picture.h"

namespace tonobild {

// What a watch found. Positions count samples from the first sample of the stream.
struct WatchEvent {
    enum class Kind {
        SignalBegins, // a signal that may be a transmission begins at `where`: receive it, unless one is coming in
        SignalEnds,   // the signal ended at `where`: the transmission coming in ends there if its last line is in
        OpeningFound, // a transmission's opening (a leader, a header) begins at `where`: the next transmission
                      // begins there when the one coming in has taken a line
    };
    Kind kind;
    std::uint64_t at;    // the sample at which it was recognised: the samples before it are handled first
    std::uint64_t where; // the position it names, at or before `at`
};

// What the listener keeps and waits for a family, at the rate listened to, in samples.
struct ListeningNeeds {
    std::size_t lookBack = 0; // kept while nothing is received: how long after its start a transmission is found
    std::uint64_t silence = 0; // without signal, a transmission has ended
    std::uint64_t longest = 0; // no transmission's recording is longer
};

// The signal as the watch stands after the last block.
struct SignalState {
    bool on = false;              // a signal in step goes on
    std::uint64_t lastInStep = 0; // where it was last in step
    std::uint64_t end = 0;        // where a recording of it ends: after its last cycle in step
};

// One transmission being received.
class Reception {
public:
    virtual ~Reception() = default;
    // The next samples of the transmission, as they come in.
    virtual void feed(std::span<const std::uint8_t> samples) = 0;
    // The line reached, of how many.
    virtual PassProgress progress() const = 0;
    virtual double secondsLeft() const = 0;
    // The picture as it stands.
    virtual void paintLivePicture(WorkingPicture& out) const = 0;
    virtual bool lastLineIn() const = 0;
    virtual bool tookLine() const = 0;
    // The transmission has ended: the recording kept of it (cut where its
    // signal ended) decoded into the picture received.
    virtual ReceivedPicture finish(std::vector<std::uint8_t> recording, std::uint32_t sampleRate) = 0;
};

class TransmissionFinder {
public:
    virtual ~TransmissionFinder() = default;

    // The choice to make before anything can be received ("resolution"), or empty.
    virtual std::string missingChoice() const = 0;
    // Begins watching a new stream at this rate; answers what the listener keeps for it.
    virtual ListeningNeeds listen(std::uint32_t sampleRate) = 0;
    // Watches the next block of the stream; adds what it found, in the order of the stream.
    virtual void watch(std::span<const std::uint8_t> block, std::vector<WatchEvent>& found) = 0;
    virtual SignalState signal() const = 0;
    // Begins receiving the transmission found; nothing while a choice is missing.
    virtual std::unique_ptr<Reception> receive() = 0;
};

} // namespace tonobild
