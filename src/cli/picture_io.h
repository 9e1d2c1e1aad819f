// The picture files of encode and decode. tonobild-cli reads and writes plain
// bitmaps (see picture/plain_bitmap.h) itself, and hands a command whose
// picture file is anything else to tonobild-cli-pictures, which reads and
// writes every format Qt's image support knows (see helper_program.h). The two
// programs build the same commands over the two implementations of this header.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "picture/working_picture.h"

namespace tonobild::cli {

// Runs the command in tonobild-cli-pictures when this program cannot read the
// picture file, and answers that program's failure to start; nothing when the
// command runs here.
std::optional<int> handOverUnlessReadHere(const QString& command, const QStringList& arguments,
                                          const QString& picturePath);

// The same for a picture file the command writes.
std::optional<int> handOverUnlessWrittenHere(const QString& command, const QStringList& arguments,
                                             const QString& picturePath);

// A picture file placed into a working picture at its own size; prints the
// reason and answers nothing when it cannot be loaded.
std::optional<WorkingPicture> loadPicture(const QString& path);

// Writes the picture, as a bitmap unless the name asks for PNG or JPEG.
// Answers an empty text on success, else the reason.
QString savePicture(const WorkingPicture& picture, const QString& path);

} // namespace tonobild::cli
