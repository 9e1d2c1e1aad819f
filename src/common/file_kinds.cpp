#include "common/file_kinds.h"

#include <filesystem>
#include <system_error>

namespace tonobild {

std::string specialFileKind(const std::string& path)
{
    std::error_code error;
    switch (std::filesystem::status(path, error).type()) {
    case std::filesystem::file_type::fifo:
        return "a named pipe";
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
        return "a device";
    case std::filesystem::file_type::socket:
        return "a socket";
    default:
        return {};
    }
}

std::string linkTarget(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

std::string unusedNameBeside(const std::string& path, const std::string& suffix)
{
    for (int attempt = 0;; ++attempt) {
        std::string name = path + suffix + (attempt == 0 ? std::string() : std::to_string(attempt));
        std::error_code ignored;
        if (!std::filesystem::exists(std::filesystem::symlink_status(name, ignored)))
            return name;
    }
}

} // namespace tonobild
