// The two files of a transmission: the RAW sample file beside the audio file
// (the audio file name with its last three characters replaced by "RAW") and
// the WAV file itself, the same samples behind a 44-byte header. Both are
// written to temporary files and replace the old ones only when complete.
#pragma once

#include <cstdint>
#include <string>

#include "common/atomic_file.h"
#include "encoder/encoder.h"

namespace tonobild {

// The RAW file name for an audio file name; empty when the name is shorter
// than three characters (characters, not bytes, of the UTF-8 text).
std::string rawFileNameFor(const std::string& audioFileName);

// Checks the audio file name; answers an empty text when it is usable, else the reason.
std::string audioFileNameProblem(const std::string& audioFileName);

class TransmissionFiles final : public SampleSink {
public:
    TransmissionFiles(const std::string& audioFileName, std::uint32_t sampleRate);

    const std::string& rawPath() const noexcept { return raw_.path(); }
    const std::string& wavPath() const noexcept { return wav_.path(); }
    std::uint64_t bytesWritten() const noexcept { return bytes_; }

    void open();   // throws FileError
    void write(const std::uint8_t* samples, std::size_t count) override; // throws FileError
    void commit(); // completes the WAV header and moves both files into place, both or neither; throws FileError
    void abandon() noexcept;

private:
    AtomicFile raw_;
    AtomicFile wav_;
    std::uint32_t sampleRate_;
    std::uint64_t bytes_ = 0;
};

} // namespace tonobild
