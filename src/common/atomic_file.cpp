#include "common/atomic_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/file_error.h"
#include "common/file_kinds.h"

namespace tonobild {

AtomicFile::AtomicFile(std::string path)
    : path_(std::move(path)), target_(linkTarget(path_)), temporaryPath_(target_ + ".part")
{
}

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
    if (std::rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
        const std::string reason = lastSystemError();
        std::remove(temporaryPath_.c_str());
        throw FileError("Cannot replace", path_, reason);
    }
}

namespace {

namespace fs = std::filesystem;

fs::file_type typeAt(const std::string& path)
{
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type();
}

bool occupied(const std::string& path)
{
    return fs::exists(fs::file_status(typeAt(path)));
}

// Keeps the file at path under a second, unused name beside it and answers that
// name; empty when there is no old file (or a folder, which no file replaces).
// The old file itself stays in place.
std::string keepAside(const std::string& path)
{
    if (!occupied(path) || typeAt(path) == fs::file_type::directory)
        return {};
    for (;;) {
        const std::string aside = unusedNameBeside(path, ".old");
        std::error_code error;
        fs::create_hard_link(path, aside, error);
        if (error == std::errc::file_exists) // taken meanwhile
            continue;
        if (error) // a file system without hard links: keep a copy instead
            fs::copy_file(path, aside, error);
        if (error)
            throw FileError("Cannot keep the old version of", path, error.message());
        return aside;
    }
}

// Puts the old version kept aside back in place of a new file, or removes the
// new file when there was no old one.
void restore(const std::string& path, const std::string& aside) noexcept
{
    if (aside.empty())
        std::remove(path.c_str());
    else
        std::rename(aside.c_str(), path.c_str());
}

} // namespace

void AtomicFile::publishBoth(AtomicFile& first, AtomicFile& second)
{
    std::string aside;
    try {
        aside = keepAside(first.target_);
    } catch (const FileError&) {
        first.abandon();
        second.abandon();
        throw;
    }
    try {
        first.publish();
    } catch (const FileError&) {
        if (!aside.empty())
            std::remove(aside.c_str());
        second.abandon();
        throw;
    }
    try {
        second.publish();
    } catch (const FileError&) {
        restore(first.target_, aside);
        throw;
    }
    if (!aside.empty())
        std::remove(aside.c_str());
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
