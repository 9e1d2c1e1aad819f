// The file a recording goes into, prepared before the recorder starts: whatever
// it held is discarded and it holds exactly the 58-byte recording header.
#pragma once

#include <string>

namespace tonobild {

// Empties the file (create for writing and close, delete, create again and
// close), then writes the 58 header bytes at offset 0. Throws FileError naming
// the file and the reason.
void prepareRecordingFile(const std::string& path);

} // namespace tonobild
