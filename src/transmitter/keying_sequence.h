// The steps of a keyed transmission: key, wait the lead, play, wait the tail
// after the last sample, release. Whoever plays the samples and keeps the time
// tells the sequence when each step has passed; any way out (Stop, an error of
// the output device, a rig that stops answering, the player going away)
// releases the transmitter at once through release() or the destructor.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "transmitter/ptt_line.h"

namespace tonobild {

enum class KeyingStep { Idle, Lead, Playing, Tail };

class KeyingSequence {
public:
    // `line` may be null: the steps run the same, nothing is keyed.
    KeyingSequence(std::unique_ptr<PttLine> line, double leadSeconds, double tailSeconds);

    // Keys the transmitter and answers the milliseconds to wait before the first
    // sample. Throws PttError (and stays Idle, unkeyed) when the rig refuses.
    int start();
    // The lead has passed: the samples may start.
    void leadPassed();
    // The last sample has left the device: answers the milliseconds of the tail.
    int samplesEnded();
    // Releases the transmitter and goes back to Idle, from any step: at the end
    // of the tail, or at once on any other way out. Answers empty or why the
    // release failed.
    std::string release() noexcept;
    // Asks the rig whether it still answers; throws PttError when it does not.
    void checkLink();

    KeyingStep step() const { return step_; }
    bool keyed() const { return guard_ && guard_->keyed(); }
    bool hasLine() const { return line_ != nullptr; }
    std::string rigDescription() const;

private:
    std::unique_ptr<PttLine> line_;
    std::optional<KeyGuard> guard_; // declared after line_: goes first
    int leadMs_;
    int tailMs_;
    KeyingStep step_ = KeyingStep::Idle;
};

// Seconds of lead or tail as whole milliseconds, rounded to the nearest.
int keyingMilliseconds(double seconds);

} // namespace tonobild
