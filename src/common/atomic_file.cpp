#include "common/atomic_file.h"

#include <cstdio>

#include "common/file_error.h"

namespace tonobild {

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)), temporaryPath_(path_ + ".part") {}

AtomicFile::~AtomicFile()
{
    abandon();
}

void AtomicFile::open()
{
    abandon();
    file_ = std::fopen(temporaryPath_.c_str(), "wb");
    if (!file_)
        throw FileError("Cannot create", path_, lastSystemError());
}

void AtomicFile::write(const void* data, std::size_t size)
{
    if (size > 0 && std::fwrite(data, 1, size, file_) != size)
        throw FileError("Cannot write", path_, lastSystemError());
}

void AtomicFile::writeAt(long offset, const void* data, std::size_t size)
{
    const long end = std::ftell(file_);
    if (end < 0 || std::fseek(file_, offset, SEEK_SET) != 0)
        throw FileError("Cannot write", path_, lastSystemError());
    write(data, size);
    if (std::fseek(file_, end, SEEK_SET) != 0)
        throw FileError("Cannot write", path_, lastSystemError());
}

void AtomicFile::finish()
{
    std::FILE* file = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(file) == 0;
    std::string reason = flushed ? std::string() : lastSystemError();
    if (std::fclose(file) != 0 && flushed)
        reason = lastSystemError();
    if (!reason.empty()) {
        std::remove(temporaryPath_.c_str());
        throw FileError("Cannot write", path_, reason);
    }
    finished_ = true;
}

void AtomicFile::publish()
{
    finished_ = false;
    if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        const std::string reason = lastSystemError();
        std::remove(temporaryPath_.c_str());
        throw FileError("Cannot replace", path_, reason);
    }
}

void AtomicFile::abandon() noexcept
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
        std::remove(temporaryPath_.c_str());
    }
    if (finished_) {
        finished_ = false;
        std::remove(temporaryPath_.c_str());
    }
}

} // namespace tonobild
