// The baseband track of a stretch of the stream: the samples from `origin()`
// on, numbered from the first track sample of the stream. Older samples are
// dropped when they are no longer needed, so that listening for hours holds
// only what the transmission coming in needs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "standard/tone_measures.h"

namespace tonobild::standard {

class TrackBuffer {
public:
    explicit TrackBuffer(double rate) : rate_(rate) {}

    double rate() const noexcept { return rate_; }
    std::uint64_t origin() const noexcept { return origin_; }
    std::uint64_t end() const noexcept { return origin_ + samples_.size(); }
    std::size_t size() const noexcept { return samples_.size(); }
    std::vector<Baseband>& samples() noexcept { return samples_; }

    // The track from `first` (a stream position) on; positions in the view count from `first`.
    TrackView from(std::uint64_t first) const noexcept
    {
        const std::uint64_t at = std::clamp(first, origin_, end()) - origin_;
        return {std::span<const Baseband>(samples_).subspan(at), rate_};
    }
    TrackView view() const noexcept { return from(origin_); }

    // Forgets the samples before `first`.
    void dropBefore(std::uint64_t first)
    {
        const std::uint64_t count = std::min<std::uint64_t>(first > origin_ ? first - origin_ : 0, samples_.size());
        samples_.erase(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(count));
        origin_ += count;
    }

private:
    double rate_;
    std::uint64_t origin_ = 0;
    std::vector<Baseband> samples_;
};

} // namespace tonobild::standard
