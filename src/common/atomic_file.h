// A file written beside its final name and moved into place only when it is
// complete, so that a failure or an interrupted write leaves the old file whole.
// A name that is a symbolic link stays one: the file it leads to is replaced.
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
    // Completing a file is two steps, so that files that belong together are all
    // written before any of them replaces its old version.
    void finish();                                      // flushes and closes; throws FileError
    void publish();                                     // moves the finished file into place; throws FileError
    void commit() { finish(); publish(); }
    void abandon() noexcept;

    // Moves two finished files into place, both or neither: the first one's old
    // version is kept under a second name until the second is in place, and is
    // put back when the second cannot replace its old version. Throws FileError.
    static void publishBoth(AtomicFile& first, AtomicFile& second);

private:
    std::string path_;          // the name given, for messages
    std::string target_;        // the file replaced: path_, or where its link leads
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
    bool finished_ = false; // closed, waiting to be moved into place
};

} // namespace tonobild
