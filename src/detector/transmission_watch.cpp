#include "detector/transmission_watch.h"

#include <algorithm>
#include <cstdlib>

namespace tonobild {

namespace {

constexpr std::uint32_t kSlowestSenderRate = 8000;

} // namespace

TransmissionWatch::TransmissionWatch(std::uint32_t sampleRate)
    // A sender's sample is held for at most rate / 8000 samples (rounded up); a
    // cycle is two of them, and one sample more where holds are rounded.
    : longestCycle_(2 * static_cast<int>((sampleRate + kSlowestSenderRate - 1) / kSlowestSenderRate) + 1)
{
}

TransmissionWatch::Event TransmissionWatch::feed(std::uint8_t sample) noexcept
{
    const std::uint64_t here = position_++;
    Event event = Event::None;
    if (waiting_) {
        if (sample < kMiddle)
            waiting_ = false;
    } else if (sample > kMiddle) {
        const std::uint64_t start = cycleStart_;
        cycleStart_ = here; // the sample that ends a cycle is the first of the next
        event = closeCycle(start, here);
    }
    minimum_ = std::min<int>(minimum_, sample);
    maximum_ = std::max<int>(maximum_, sample);
    // Silence closes no cycle at all.
    if (event == Event::None && steady_ && here - cycleStart_ > static_cast<std::uint64_t>(longestCycle_))
        event = lose(cycleStart_);
    return event;
}

TransmissionWatch::Event TransmissionWatch::closeCycle(std::uint64_t start, std::uint64_t end) noexcept
{
    const int length = static_cast<int>(std::min<std::uint64_t>(end - start, 1u << 20));
    const int swing = maximum_ - minimum_;
    const int twoBefore = swings_[0];
    swings_[0] = swings_[1];
    swings_[1] = swing;
    minimum_ = 255;
    maximum_ = 0;
    waiting_ = true;
    const bool step = inStep(length, swing);
    previousLength_ = length;
    if (!step) {
        stepCount_ = 0;
        leaderCount_ = 0;
        return steady_ ? lose(start) : Event::None;
    }

    if (stepCount_ == 0) {
        candidateStart_ = start;
        meanLength_ = length;
    }
    ++stepCount_;
    meanLength_ += (length - meanLength_) / std::min(stepCount_, kSteadyRun);
    if (steady_)
        lastSteadyEnd_ = end;

    if (std::abs(swing - twoBefore) <= kLeaderSwingTolerance) {
        if (leaderCount_ == 0)
            leaderCandidateStart_ = start;
        ++leaderCount_;
    } else {
        leaderCount_ = 0;
    }

    if (!steady_ && stepCount_ >= kSteadyRun) {
        steady_ = true;
        runStart_ = candidateStart_;
        lastSteadyEnd_ = end;
        return Event::SignalFound;
    }
    if (leaderCount_ == kLeaderCycles) {
        leaderStart_ = leaderCandidateStart_;
        return Event::LeaderFound;
    }
    return Event::None;
}

// A cycle is in step when it is as long as the one before it (a quarter either
// way, for holds of rounded lengths), no longer than a sender's cycle, and loud enough.
bool TransmissionWatch::inStep(int length, int swing) const noexcept
{
    if (length > longestCycle_ || swing < kSmallestSwing || previousLength_ == 0)
        return false;
    return std::abs(length - previousLength_) <= std::max(1, previousLength_ / 4);
}

TransmissionWatch::Event TransmissionWatch::lose(std::uint64_t end) noexcept
{
    steady_ = false;
    lastSteadyEnd_ = end;
    return Event::SignalLost;
}

} // namespace tonobild
