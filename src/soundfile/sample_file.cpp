#include "soundfile/sample_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "common/file_error.h"

namespace tonobild {

namespace {

constexpr const char* kStandardInput = "standard input";

} // namespace

SampleFile::SampleFile(std::string path) : path_(std::move(path))
{
    block_.resize(kBlockBytes);
    if (path_ == "-") {
        file_.reset(::fdopen(::dup(STDIN_FILENO), "rb"));
        if (!file_)
            throw FileError("cannot open", kStandardInput, lastSystemError());
        return;
    }
    // A folder opens for reading on some systems but has no samples to give.
    std::error_code ignored;
    if (std::filesystem::is_directory(path_, ignored))
        throw FileError("cannot open", path_, std::make_error_code(std::errc::is_a_directory).message());
    file_.reset(std::fopen(path_.c_str(), "rb"));
    if (!file_)
        throw FileError("cannot open", path_, lastSystemError());
}

std::span<const std::uint8_t> SampleFile::nextBlock()
{
    const std::size_t count = std::fread(block_.data(), 1, block_.size(), file_.get());
    if (count == 0 && std::ferror(file_.get()))
        throw FileError("cannot read", path_, lastSystemError());
    return {block_.data(), count};
}

std::vector<std::uint8_t> readStandardInput()
{
    std::vector<std::uint8_t> bytes;
    SampleFile input("-");
    for (auto block = input.nextBlock(); !block.empty(); block = input.nextBlock())
        bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

void StandardOutput::write(const std::uint8_t* samples, std::size_t count)
{
    if (count == 0) // an empty block may come without any samples behind it
        return;
    if (std::fwrite(samples, 1, count, stdout) != count)
        throw FileError("cannot write", "standard output", lastSystemError());
}

void StandardOutput::finish()
{
    if (std::fflush(stdout) != 0)
        throw FileError("cannot write", "standard output", lastSystemError());
}

std::span<const std::uint8_t> MemorySamples::nextBlock()
{
    const std::size_t count = std::min(blockBytes_, samples_.size() - offset_);
    const auto block = samples_.subspan(offset_, count);
    offset_ += count;
    return block;
}

} // namespace tonobild
