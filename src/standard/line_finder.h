// Finds a transmission whose VIS header was missed (a recording that begins
// late, a header lost in noise) from the rhythm of its lines. Consecutive lines
// of a picture are much alike, so the tone's frequency repeats itself one line
// period later: the mode is the one whose line period (within the clock error
// a sender may have) brings the strongest repetition, and whose sync, folded
// over the lines, has the length the mode gives it. Noise, a voice or a
// carrier repeat at no line period and give nothing.
#pragma once

#include <optional>

#include "standard/mode_table.h"
#include "standard/track_buffer.h"

namespace tonobild::standard {

struct LinesFound {
    const StandardMode* mode = nullptr;
    double syncAt = 0;   // the start of a line's sync in the window, in track samples of the stream
    double period = 0;   // track samples a line
    double offsetHz = 0; // the sync tone heard, less 1200 Hz
    double likeness = 0; // how much a line is like the next, 0..1
};

class LineFinder {
public:
    static constexpr double kWindowSeconds = 12; // the track looked at

    explicit LineFinder(double trackRate);
    ~LineFinder();
    LineFinder(const LineFinder&) = delete;
    LineFinder& operator=(const LineFinder&) = delete;

    // Looks at the kWindowSeconds of the track before `end`, a stream position
    // (at least half of them must be there).
    std::optional<LinesFound> lookBefore(const TrackBuffer& track, std::uint64_t end);
    // Looks at kWindowSeconds of the track from `first`, a stream position.
    std::optional<LinesFound> lookFrom(const TrackBuffer& track, std::uint64_t first);

private:
    std::optional<LinesFound> lookAt(const TrackBuffer& track, std::uint64_t from, std::uint64_t to);

    struct Transform;
    double rate_;
    std::unique_ptr<Transform> transform_;
};

} // namespace tonobild::standard
