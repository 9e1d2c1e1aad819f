// The boundary between the working picture and Qt's images: conversion (colour
// numbers are 0x00BBGGRR, QImage pixels 0xAARRGGBB), and picture files.
#pragma once

#include <QFileDevice>
#include <QImage>
#include <QString>
#include <optional>

#include "picture/working_picture.h"

namespace tonobild {

// A side longer than this does not fit the 16-bit sizes of the codecs.
constexpr int kLargestPictureSide = 32767;

// Why a picture of this size is refused (a side above the largest, or more
// pixels than Qt may allocate), or an empty text.
QString pictureSizeProblem(qint64 width, qint64 height);

// What a path names when it is no regular file ("a named pipe", "a device",
// "a socket"), or an empty text: opening a named pipe with no writer would
// wait for ever, and a device never ends.
QString specialFileKind(const QString& path);

QImage toImage(const WorkingPicture& picture);
WorkingPicture fromImage(const QImage& image);

// Places an image into the working picture at the image's own size.
void placeImage(WorkingPicture& picture, const QImage& image);

struct LoadedPicture {
    QImage image;      // null when the load failed
    QString problem;   // why it failed, for a message that names the file
};

// Reads a picture file of any format Qt reads. The size is checked from the
// file's header before the pixels are decoded. Only regular files are read: a
// named pipe or a device is refused at once rather than waited on.
LoadedPicture loadPictureFile(const QString& path);

// Writes the picture as a bitmap, or as PNG or JPEG when the name ends so.
// The old file is replaced only when the new one is complete. Answers an empty
// text on success, else the reason.
QString savePictureFile(const QImage& image, const QString& path);

// Writes the picture into an open file in the given format ("bmp", "png",
// "jpeg"). Answers an empty text on success, else the reason, the file's own
// (a full disk, say) before the image writer's.
QString writePicture(const QImage& image, QFileDevice& file, const QByteArray& format);

} // namespace tonobild
