#include "common/special_file.h"

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

} // namespace tonobild
