#include "picture/plain_bitmap_file.h"

#include <QFile>
#include <filesystem>

#include "picture/picture_file_saving.h"
#include "picture/plain_bitmap.h"

namespace tonobild {

namespace {

// Opens a regular file and reads the header of the plain bitmap it holds
// whole; nothing for anything else. Only a regular file is opened: a named pipe
// with no writer would wait for ever.
std::optional<BitmapHeader> openPlainBitmap(QFile& file, QByteArray& start)
{
    std::error_code error;
    if (file.fileName().isEmpty() ||
        !std::filesystem::is_regular_file(QFile::encodeName(file.fileName()).toStdString(), error) ||
        !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    start = file.read(kBitmapHeaderBytes);
    const std::optional<BitmapHeader> header = readBitmapHeader(bytesOf(start));
    if (!header || !isPlainBitmap(*header) || file.size() < header->expectedFileSize())
        return std::nullopt;
    return header;
}

} // namespace

bool isPlainBitmapFile(const QString& path)
{
    QFile file(path);
    QByteArray start;
    return openPlainBitmap(file, start).has_value();
}

std::optional<WorkingPicture> loadPlainBitmapFile(const QString& path)
{
    QFile file(path);
    QByteArray bytes;
    const std::optional<BitmapHeader> header = openPlainBitmap(file, bytes);
    if (!header)
        return std::nullopt;
    bytes += file.read(header->expectedFileSize() - kBitmapHeaderBytes);
    return readPlainBitmap(bytesOf(bytes));
}

QString savePlainBitmapFile(const WorkingPicture& picture, const QString& path)
{
    const std::vector<std::uint8_t> bitmap = plainBitmap(picture);
    const QByteArray bytes(reinterpret_cast<const char*>(bitmap.data()), static_cast<qsizetype>(bitmap.size()));
    return saveWholeFile(path, [&](QFileDevice& file) { return writeWhole(file, bytes); });
}

} // namespace tonobild
