// A transmission written as a mono PCM WAV file in the sender's sample format,
// moved into place only when complete (the old file stays whole otherwise).
#pragma once

#include <cstdint>
#include <string>

#include "common/atomic_file.h"
#include "common/sample_sink.h"

namespace tonobild {

class WavSink final : public SampleSink {
public:
    WavSink(std::string path, SampleFormat format);

    const std::string& path() const noexcept { return file_.path(); }
    std::uint64_t bytesWritten() const noexcept { return bytes_; }

    void open();                                                          // throws FileError
    void write(const std::uint8_t* samples, std::size_t count) override; // throws FileError
    void commit();                                                        // throws FileError
    void abandon() noexcept { file_.abandon(); }

private:
    AtomicFile file_;
    SampleFormat format_;
    std::uint64_t bytes_ = 0;
};

} // namespace tonobild
