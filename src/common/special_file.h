// Files that are no regular files: opening a named pipe with no writer would
// wait for ever, and a device never ends.
#pragma once

#include <string>

namespace tonobild {

// What a path names when it is no regular file ("a named pipe", "a device",
// "a socket"), or an empty text. Links are followed.
std::string specialFileKind(const std::string& path);

} // namespace tonobild
