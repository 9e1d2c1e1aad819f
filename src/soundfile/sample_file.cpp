#include "soundfile/sample_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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
    block_.resize(kBlockBytes);
}

std::span<const std::uint8_t> SampleFile::nextBlock()
{
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
