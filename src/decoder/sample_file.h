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

namespace tonobild {

class SampleSource {
public:
    virtual ~SampleSource() = default;
    // The next block of samples; empty at the end.
    virtual std::span<const std::uint8_t> nextBlock() = 0;
};

// A recorded audio file, handed out in blocks of 64 KiB; a block stays valid
// until the next one is asked for. A regular file is mapped into memory and
// the blocks are read straight out of the page cache, without a copy; what was
// read is let go every mebibyte, so that a long recording is never held whole.
// The bytes are those it held when it was opened (a file that another program
// cuts short while it is read ends this program with SIGBUS).
// Anything else (a pipe, a file that cannot be mapped) is read with fread.
class SampleFile final : public SampleSource {
public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

    // Opens an existing file for reading; never creates one. Throws FileError.
    explicit SampleFile(std::string path);
    ~SampleFile() override;
    SampleFile(const SampleFile&) = delete;
    SampleFile& operator=(const SampleFile&) = delete;

    const std::string& path() const noexcept { return path_; }
    std::span<const std::uint8_t> nextBlock() override; // throws FileError on a read failure

private:
    struct Closer {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };
    std::string path_;
    std::unique_ptr<std::FILE, Closer> file_;
    std::vector<std::uint8_t> block_;
    static constexpr std::size_t kReleaseBytes = std::size_t{1} << 20;
    std::span<const std::uint8_t> mapped_; // the whole file, when it is mapped
    std::size_t mappedOffset_ = 0;         // where the next block starts
    std::size_t releasedOffset_ = 0;       // the pages before it are no longer mapped in
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

} // namespace tonobild
