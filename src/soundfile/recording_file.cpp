#include "soundfile/recording_file.h"

#include <cstdio>

#include "soundfile/wav_header.h"
#include "common/file_error.h"

namespace tonobild {

namespace {

void createEmpty(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw FileError("Cannot create", path, lastSystemError());
    if (std::fclose(file) != 0)
        throw FileError("Cannot create", path, lastSystemError());
}

} // namespace

void prepareRecordingFile(const std::string& path)
{
    createEmpty(path);
    if (std::remove(path.c_str()) != 0)
        throw FileError("Cannot delete", path, lastSystemError());
    createEmpty(path);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw FileError("Cannot open", path, lastSystemError());
    const auto header = recordingHeader();
    const bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    const std::string reason = written ? std::string() : lastSystemError();
    if (std::fclose(file) != 0 && written)
        throw FileError("Cannot write", path, lastSystemError());
    if (!written)
        throw FileError("Cannot write", path, reason);
}

} // namespace tonobild
