// Tells a transmission from silence, noise and other sounds in a continuous
// stream of samples, without decoding it.
//
// Every pixel group is two square cycles, and every sample the sender sent
// lies on the other side of the middle from the one before: so while a
// transmission is on, cycle follows cycle with the same length (two held
// samples), whatever the groups carry. Noise gives cycles of every length,
// silence gives none. A run of in-step cycles marks a transmission.
//
// The leader is thousands of identical groups, each cycle the swing of the
// cycle two before it; no line holds such a run for longer than its own
// length, so a run that long is the leader of a transmission.
#pragma once

#include <cstdint>

namespace tonobild {

class TransmissionWatch {
public:
    enum class Event {
        None,
        SignalFound, // a run of in-step cycles has begun: see runStart()
        SignalLost,  // the run has ended: see lastSteadyEnd()
        LeaderFound, // a leader is on: see leaderStart()
    };

    // Cycles in step that make a run; about 23 ms of groups at 11025.
    static constexpr int kSteadyRun = 64;
    // Cycles of the leader, two a group: 2000 groups, longer than any line.
    static constexpr int kLeaderCycles = 4000;

    explicit TransmissionWatch(std::uint32_t sampleRate);

    // Takes the next sample of the stream.
    Event feed(std::uint8_t sample) noexcept;

    // Positions are counted in samples from the first sample fed, 0 on.
    std::uint64_t position() const noexcept { return position_; }
    bool steady() const noexcept { return steady_; }
    std::uint64_t runStart() const noexcept { return runStart_; }
    std::uint64_t lastSteadyEnd() const noexcept { return lastSteadyEnd_; }
    std::uint64_t leaderStart() const noexcept { return leaderStart_; }
    // Samples per cycle over the current run: two held samples of the sender.
    double cycleLength() const noexcept { return meanLength_; }

private:
    static constexpr int kMiddle = 128;
    static constexpr int kSmallestSwing = 16; // quieter cycles are hiss, not a signal
    static constexpr int kLeaderSwingTolerance = 4;

    Event closeCycle(std::uint64_t start, std::uint64_t end) noexcept;
    bool inStep(int length, int swing) const noexcept;
    Event lose(std::uint64_t end) noexcept;

    int longestCycle_;
    std::uint64_t position_ = 0;
    bool waiting_ = true;
    int minimum_ = 255;
    int maximum_ = 0;
    std::uint64_t cycleStart_ = 0;
    int previousLength_ = 0;
    int swings_[2] = {-1, -1}; // the swings of the last two cycles, the older one first
    double meanLength_ = 0;

    int stepCount_ = 0;   // cycles in step in a row
    int leaderCount_ = 0; // of them, cycles with the swing of the cycle two before
    bool steady_ = false;
    std::uint64_t candidateStart_ = 0;       // the first cycle of the run in step
    std::uint64_t leaderCandidateStart_ = 0; // the first cycle of the run alike
    std::uint64_t runStart_ = 0;
    std::uint64_t lastSteadyEnd_ = 0;
    std::uint64_t leaderStart_ = 0;
};

} // namespace tonobild
