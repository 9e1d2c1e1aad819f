// Receives one standard-mode transmission from a stream of samples: finds it
// by its VIS header, follows it to its end (and the FSK identification after
// it), fits its lines, reads its picture and says what it found.
//
//   StandardReceiver receiver(rate, options);
//   while (more samples and !receiver.done()) receiver.feed(block);
//   std::optional<StandardPicture> picture = receiver.finish();
//
// It keeps the track of the last seconds while it searches, then the track of
// the one transmission it found: never more than the longest mode holds.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "standard/transmission_decode.h"

namespace tonobild::standard {

struct ReceiveOptions {
    const StandardMode* mode = nullptr; // a mode forced on the transmission, or found from it
    ByHand byHand;                      // the sender's clock and the mistuning set by hand, not measured
    bool live = false;                  // read the lines as they come in, for a picture that grows
};

class StandardReceiver {
public:
    // The lowest rate that holds the tones and their sidebands.
    static constexpr double kLowestRate = 8000;

    // Throws std::invalid_argument for a rate below kLowestRate.
    StandardReceiver(double sampleRate, ReceiveOptions options = {});
    ~StandardReceiver();
    StandardReceiver(const StandardReceiver&) = delete;
    StandardReceiver& operator=(const StandardReceiver&) = delete;

    // The next samples of the stream, -1..1.
    void feed(std::span<const float> samples);
    // A transmission was found and all of it is in.
    bool done() const noexcept;

    // A transmission was found: its mode, how, and where it begins (its
    // header, or the first line seen), in seconds from the first sample fed.
    bool found() const noexcept;
    const StandardMode* mode() const noexcept;
    FoundBy foundBy() const noexcept;
    double startSeconds() const noexcept;
    // The lines of the transmission found that have come in; the seconds until its last line.
    int linesIn() const noexcept;
    double secondsLeft() const noexcept;
    bool lastLineIn() const noexcept;
    // The transmission's signal has gone (several syncs in a row missing, or
    // its time is up); where its recording ends, in seconds from the first
    // sample fed: after the time for an FSK identification, or a second after
    // the last sync heard.
    bool signalGone() const noexcept;
    double signalEndSeconds() const noexcept;
    // The picture as its lines came in.
    WorkingPicture livePicture() const;
    // The picture of the transmission found, with the rows that arrived; none when none was found.
    std::optional<StandardPicture> finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace tonobild::standard
