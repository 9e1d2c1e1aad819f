// tonobild-cli: plain bitmaps here, every other picture file in tonobild-cli-pictures.
#include "cli/cli_support.h"
#include "cli/helper_program.h"
#include "cli/picture_io.h"
#include "picture/picture_file_saving.h"
#include "picture/plain_bitmap_file.h"

namespace tonobild::cli {

std::optional<int> handOverUnlessReadHere(const QString& command, const QStringList& arguments,
                                          const QString& picturePath)
{
    if (isPlainBitmapFile(picturePath))
        return std::nullopt;
    return runInHelperProgram(HelperProgram::Pictures, command, arguments);
}

std::optional<int> handOverUnlessWrittenHere(const QString& command, const QStringList& arguments,
                                             const QString& picturePath)
{
    if (pictureFormatForName(picturePath) == "bmp")
        return std::nullopt;
    return runInHelperProgram(HelperProgram::Pictures, command, arguments);
}

std::optional<WorkingPicture> loadPicture(const QString& path)
{
    std::optional<WorkingPicture> picture = loadPlainBitmapFile(path);
    if (!picture)
        fail(QStringLiteral("cannot load %1: it is no longer a complete bitmap file").arg(path));
    return picture;
}

QString savePicture(const WorkingPicture& picture, const QString& path)
{
    return savePlainBitmapFile(picture, path);
}

} // namespace tonobild::cli
