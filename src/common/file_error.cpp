#include "common/file_error.h"

#include <cerrno>
#include <cstring>

namespace tonobild {

std::string lastSystemError()
{
    return std::strerror(errno);
}

} // namespace tonobild
