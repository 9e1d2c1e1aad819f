// Writing a picture file whole: the old file is replaced only when the new
// one is complete. Qt Core only, for the programs with and without Qt's image
// support alike.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <functional>

namespace tonobild {

// The format a picture file's name asks for: "png", "jpg" or "jpeg" by its
// extension, else "bmp".
QByteArray pictureFormatForName(const QString& path);

// Writes every byte. A file write that stops short (the disk filled up) is
// tried again for the rest, and that attempt brings the file system's reason.
// Answers an empty text on success, else the reason.
QString writeWhole(QFileDevice& file, const QByteArray& bytes);

// Opens a new file for the path, lets `write` fill it (answering an empty text,
// else the reason), and puts it in the old one's place only when all went well.
// Answers an empty text on success, else the reason.
QString saveWholeFile(const QString& path, const std::function<QString(QFileDevice&)>& write);

} // namespace tonobild
