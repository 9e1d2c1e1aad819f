#include "decoder/sample_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <sys/mman.h>
#include <sys/stat.h>

#include "common/file_error.h"

namespace tonobild {

SampleFile::SampleFile(std::string path) : path_(std::move(path))
{
    // A folder opens for reading on some systems but has no samples to give.
    std::error_code ignored;
    if (std::filesystem::is_directory(path_, ignored))
        throw FileError("cannot open", path_, std::make_error_code(std::errc::is_a_directory).message());
    file_.reset(std::fopen(path_.c_str(), "rb"));
    if (!file_)
        throw FileError("cannot open", path_, lastSystemError());
    const int descriptor = fileno(file_.get());
    struct stat info {};
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        void* const start = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (start != MAP_FAILED) {
            ::madvise(start, size, MADV_SEQUENTIAL); // read ahead, and drop what is behind
            mapped_ = {static_cast<const std::uint8_t*>(start), size};
            return;
        }
    }
    block_.resize(kBlockBytes);
}

SampleFile::~SampleFile()
{
    if (!mapped_.empty())
        ::munmap(const_cast<std::uint8_t*>(mapped_.data()), mapped_.size());
}

std::span<const std::uint8_t> SampleFile::nextBlock()
{
    if (!mapped_.empty()) {
        // What was handed out before is given back now and then, so that the
        // program holds about a mebibyte of a long recording at a time.
        if (mappedOffset_ - releasedOffset_ >= kReleaseBytes) {
            ::madvise(const_cast<std::uint8_t*>(mapped_.data()) + releasedOffset_, mappedOffset_ - releasedOffset_,
                      MADV_DONTNEED);
            releasedOffset_ = mappedOffset_;
        }
        const std::size_t count = std::min(kBlockBytes, mapped_.size() - mappedOffset_);
        const auto block = mapped_.subspan(mappedOffset_, count);
        mappedOffset_ += count;
        return block;
    }
    const std::size_t count = std::fread(block_.data(), 1, block_.size(), file_.get());
    if (count == 0 && std::ferror(file_.get()))
        throw FileError("cannot read", path_, lastSystemError());
    return {block_.data(), count};
}

std::span<const std::uint8_t> MemorySamples::nextBlock()
{
    const std::size_t count = std::min(blockBytes_, samples_.size() - offset_);
    const auto block = samples_.subspan(offset_, count);
    offset_ += count;
    return block;
}

} // namespace tonobild
