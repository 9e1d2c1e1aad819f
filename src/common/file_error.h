// A file that could not be read or written, with the path and the reason, so
// that the message shown to the user can name both.
#pragma once

#include <stdexcept>
#include <string>

namespace tonobild {

class FileError : public std::runtime_error {
public:
    FileError(std::string action, std::string path, std::string reason)
        : std::runtime_error(action + " " + path + ": " + reason),
          action_(std::move(action)), path_(std::move(path)), reason_(std::move(reason))
    {
    }
    const std::string& action() const noexcept { return action_; }
    const std::string& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::string action_;
    std::string path_;
    std::string reason_;
};

// The reason text of the last failed C library call.
std::string lastSystemError();

} // namespace tonobild
