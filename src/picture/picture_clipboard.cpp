#include "picture/picture_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tonobild {

void copyPictureToClipboard(const QImage& image)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image);
}

LoadedPicture pictureFromClipboard()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data == nullptr || !data->hasImage())
        return {{}, QStringLiteral("the clipboard holds no picture")};
    const QImage image = clipboard->image();
    if (image.isNull())
        return {{}, QStringLiteral("the clipboard's picture cannot be read")};
    if (const QString problem = pictureSizeProblem(image.width(), image.height()); !problem.isEmpty())
        return {{}, problem};
    return {image, {}};
}

} // namespace tonobild
