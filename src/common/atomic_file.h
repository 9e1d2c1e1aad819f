// A file written beside its final name and moved into place only when it is
// complete, so that a failure or an interrupted write leaves the old file whole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace tonobild {

class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    const std::string& path() const noexcept { return path_; }

    void open();                                        // throws FileError
    void write(const void* data, std::size_t size);     // throws FileError
    void writeAt(long offset, const void* data, std::size_t size); // throws FileError
    void commit();                                      // throws FileError
    void abandon() noexcept;

private:
    std::string path_;
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
};

} // namespace tonobild
