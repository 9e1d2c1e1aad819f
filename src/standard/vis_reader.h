// Finds VIS headers in the track as it grows: a steady leader tone near
// 1900 Hz, then a 1200 Hz start bit, seven data bits (1100 Hz for 1, 1300 Hz
// for 0), the even-parity bit and a 1200 Hz stop bit, 30 ms each.
//
// The leader is found in short spectra, where it stands out of noise far below
// the level at which a frequency read sample by sample fails; its exact tone
// gives the receiver's mistuning. Each bit is then read as the energy of its
// two tones over the middle of its 30 ms, the start of the bits placed where
// the whole header fits best. A header whose parity fails, whose tones are not
// clear or whose code names no mode gives nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "standard/mode_table.h"
#include "standard/spectrum.h"
#include "standard/track_buffer.h"

namespace tonobild::standard {

struct VisHeader {
    int code = 0;
    const StandardMode* mode = nullptr;
    double startBit = 0;  // where the start bit begins, in track samples of the stream
    double offsetHz = 0;  // the receiver's mistuning: the leader's tone less 1900 Hz
    double pictureStart() const noexcept;
    double trackRate = 0;
};

class VisReader {
public:
    explicit VisReader(double trackRate);

    // Looks at the track up to `upTo` (a stream position, at most its end);
    // answers a header once its stop bit is in. The buffer must keep the last
    // two seconds.
    std::optional<VisHeader> read(const TrackBuffer& track, std::uint64_t upTo);

    // How far back the reader may still look, in track samples.
    std::uint64_t oldestNeeded() const noexcept;

private:
    struct Leader {
        std::uint64_t first = 0; // the first frame's start
        std::uint64_t last = 0;  // the last frame's start
        double hz = 0;           // the mean of the frames' tones
        int frames = 0;
        int missed = 0;          // frames since the last that looked like leader
    };
    std::optional<double> leaderTone(const std::vector<float>& power) const;
    void takeFrame(std::optional<double> tone, std::uint64_t first);
    double leaderEnd() const noexcept;
    bool bitsIn(std::uint64_t upTo) const noexcept;
    std::optional<VisHeader> decode(const TrackBuffer& track) const;

    double rate_;
    ShortSpectrum spectrum_;
    std::uint64_t nextFrame_ = 0;
    Leader leader_;
    std::optional<Leader> ended_; // a leader that ended, waiting for its bits to come in
};

} // namespace tonobild::standard
