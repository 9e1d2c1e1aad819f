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

#include "picture/working_picture.h"
#include "standard/colour_spaces.h"
#include "standard/mode_table.h"

namespace tonobild::standard {

enum class FoundBy { Vis, Lines, Forced };
const char* foundByName(FoundBy how) noexcept;

// What was found: the mode, how, the sender's line period against the mode's
// (ppm), the receiver's mistuning (Hz), the FSK identification, the colour
// range read, the signal-to-noise ratio in a 3 kHz band, the lines that arrived.
struct StandardReport {
    const StandardMode* mode = nullptr;
    FoundBy foundBy = FoundBy::Vis;
    double ppm = 0;
    double offsetHz = 0;
    std::string fskId;
    ColourRange range = ColourRange::Studio;
    double snrDb = 0;
    int lines = 0;
    bool complete = false;
};

// "Martin 1, VIS, +120 ppm, -12 Hz, FSK ID DL1ABC, SNR 24 dB"
std::string describe(const StandardReport& report);

struct StandardPicture {
    WorkingPicture picture;
    StandardReport report;
};

struct ReceiveOptions {
    const StandardMode* mode = nullptr; // a mode forced on the transmission, or found from it
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
    // The picture of the transmission found, with the rows that arrived; none when none was found.
    std::optional<StandardPicture> finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace tonobild::standard
