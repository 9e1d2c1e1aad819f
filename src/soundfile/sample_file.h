// The recorded samples as the decoder reads them: one unsigned byte per
// sample from the first byte of the file on, handed over in blocks so that a
// long recording is never held whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/sample_sink.h"

namespace tonobild {

class SampleSource {
public:
    virtual ~SampleSource() = default;
    // The next block of samples; empty at the end.
    virtual std::span<const std::uint8_t> nextBlock() = 0;
};

// A recorded audio file, read in blocks of 64 KiB; "-" reads standard input.
class SampleFile final : public SampleSource {
public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

    // Opens an existing file for reading; never creates one. Throws FileError.
    explicit SampleFile(std::string path);

    const std::string& path() const noexcept { return path_; }
    std::span<const std::uint8_t> nextBlock() override; // throws FileError on a read failure

private:
    struct Closer {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };
    std::string path_;
    std::unique_ptr<std::FILE, Closer> file_;
    std::vector<std::uint8_t> block_;
};

// Samples held in memory, handed out in blocks of the given size.
class MemorySamples final : public SampleSource {
public:
    explicit MemorySamples(std::span<const std::uint8_t> samples, std::size_t blockBytes = SampleFile::kBlockBytes)
        : samples_(samples), blockBytes_(blockBytes)
    {
    }
    std::span<const std::uint8_t> nextBlock() override;

private:
    std::span<const std::uint8_t> samples_;
    std::size_t blockBytes_;
    std::size_t offset_ = 0;
};

// The bytes of standard input, read to its end. Throws FileError.
std::vector<std::uint8_t> readStandardInput();

// Samples written to standard output, for a command given "-" as the file it writes.
class StandardOutput final : public SampleSink {
public:
    void write(const std::uint8_t* samples, std::size_t count) override; // throws FileError
    void finish();                                                        // throws FileError
};

} // namespace tonobild
