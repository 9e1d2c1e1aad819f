// The two files of a transmission: the RAW sample file beside the audio file
// (the audio file name with its last three characters replaced by "RAW") and
// the WAV file itself, the same samples behind a 44-byte header. Both are
// written to temporary files and replace the old ones only when complete.
//
// On request a third file goes beside them, the player WAV: the same samples
// with each one held 4 times at 44100 (for 11025) or 6 times at 48000 (for
// 8000). Ordinary players and sound servers resample a file to their device's
// rate through a low-pass filter, which wipes out a transmission at 11025
// whose picture lives at the file's Nyquist frequency; at the device's own
// rate they pass it as it is, and the holds keep every level exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "encoder/encoder.h"

namespace tonobild {

// The RAW file name for an audio file name; empty when the name is shorter
// than three characters (characters, not bytes, of the UTF-8 text).
std::string rawFileNameFor(const std::string& audioFileName);

// Checks the audio file name; answers an empty text when it is usable, else the reason.
std::string audioFileNameProblem(const std::string& audioFileName);

// The player WAV's name: "-player" before the audio file name's extension
// ("TONOBILD.WAV" gives "TONOBILD-player.WAV"), or at its end without one.
std::string playerWavNameFor(const std::string& audioFileName);

struct PlayerRate {
    std::uint32_t rate = 0; // 44100 or 48000
    int hold = 0;           // samples per transmitted sample: 4 or 6
};

// The player WAV's rate for a transmission rate: 44100 for 11025, 48000 for 8000.
PlayerRate playerRateFor(std::uint32_t transmissionRate);

class TransmissionFiles final : public SampleSink {
public:
    enum class PlayerWav { Without, With };

    TransmissionFiles(const std::string& audioFileName, std::uint32_t sampleRate, PlayerWav player = PlayerWav::Without);

    const std::string& rawPath() const noexcept { return raw_.path(); }
    const std::string& wavPath() const noexcept { return wav_.path(); }
    // Empty without a player WAV.
    std::string playerPath() const { return player_ ? player_->path() : std::string(); }
    std::uint64_t bytesWritten() const noexcept { return bytes_; }

    void open();   // throws FileError
    void write(const std::uint8_t* samples, std::size_t count) override; // throws FileError
    // Completes the WAV headers and moves the RAW and WAV files into place, both
    // or neither (throws FileError), then the player WAV. Answers why the player
    // WAV could not be moved into place (the RAW and WAV are then in place), or
    // an empty text.
    [[nodiscard]] std::string commit();
    void abandon() noexcept;

private:
    AtomicFile raw_;
    AtomicFile wav_;
    std::optional<AtomicFile> player_;
    std::vector<std::uint8_t> heldBlock_; // a block of samples as the player WAV holds them
    std::uint32_t sampleRate_;
    std::uint64_t bytes_ = 0;
};

} // namespace tonobild
