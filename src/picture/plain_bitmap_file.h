// Plain bitmap files read and written with Qt Core alone (see plain_bitmap.h).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "picture/working_picture.h"

namespace tonobild {

// The bytes of a Qt byte array, for the readers of the core.
inline std::span<const std::uint8_t> bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

// Whether the path names a regular file that holds a whole plain bitmap, by
// its header and length.
bool isPlainBitmapFile(const QString& path);

// The picture of a plain bitmap in a regular file; nothing for anything else
// (a missing file, a folder, a pipe, another format), which the caller leaves
// to Qt's image support and its messages.
std::optional<WorkingPicture> loadPlainBitmapFile(const QString& path);

// Writes the picture as a plain bitmap, replacing the old file only when the
// new one is complete. Answers an empty text on success, else the reason.
QString savePlainBitmapFile(const WorkingPicture& picture, const QString& path);

} // namespace tonobild
