// What the file system holds at a path, for the places that read, replace or
// set aside the user's files.
#pragma once

#include <string>

namespace tonobild {

// What a path names when it is no regular file ("a named pipe", "a device",
// "a socket"), or an empty text: opening a named pipe with no writer would
// wait for ever, and a device never ends. Links are followed.
std::string specialFileKind(const std::string& path);

// Where a symbolic link at `path` leads, links of links followed; `path` itself
// when it is no link, or a link that leads nowhere. A file replaced through a
// link is the file it leads to, so that the link stays a link.
std::string linkTarget(const std::string& path);

// The first of path + suffix, path + suffix + "1", "2", ... that names nothing,
// not even a dangling link: a name beside the file to keep its old version under.
std::string unusedNameBeside(const std::string& path, const std::string& suffix);

} // namespace tonobild
