// tonobild-cli-pictures: every picture file through Qt's image support.
#include "cli/cli_support.h"
#include "cli/picture_io.h"
#include "picture/picture_files.h"

namespace tonobild::cli {

std::optional<int> handOverUnlessReadHere(const QString&, const QStringList&, const QString&)
{
    return std::nullopt;
}

std::optional<int> handOverUnlessWrittenHere(const QString&, const QStringList&, const QString&)
{
    return std::nullopt;
}

std::optional<WorkingPicture> loadPicture(const QString& path)
{
    const LoadedPicture loaded = loadPictureFile(path);
    if (loaded.image.isNull()) {
        fail(QStringLiteral("cannot load %1: %2").arg(path, loaded.problem));
        return std::nullopt;
    }
    return fromImage(loaded.image);
}

QString savePicture(const WorkingPicture& picture, const QString& path)
{
    return savePictureFile(toImage(picture), path);
}

} // namespace tonobild::cli
