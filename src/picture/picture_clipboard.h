// Pictures on the system clipboard: the working picture put there as an image,
// and an image taken from there with a reason when there is none.
#pragma once

#include <QImage>

#include "picture/picture_files.h"

namespace tonobild {

// Clears the clipboard, then puts the picture on it as an image.
void copyPictureToClipboard(const QImage& image);

// The clipboard's picture; a null image and the reason when it holds none or
// one too large for the station.
LoadedPicture pictureFromClipboard();

} // namespace tonobild
