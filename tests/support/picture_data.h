// Pictures and files of the Qt tests: a reference file of tests/data by name,
// the working picture a picture file holds, the values of expected.json, and
// pictures of one colour and bytes read from and written into files.
#pragma once

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <vector>

#include "picture/picture_files.h"
#include "support/test_data.h"

namespace tonobild::testdata {

inline QString dataFile(const char* name)
{
    return QString::fromStdString(dataPath(name));
}

inline WorkingPicture pictureOf(const QString& path)
{
    return fromImage(loadPictureFile(path).image);
}

inline WorkingPicture reference(const char* name)
{
    return pictureOf(dataFile(name));
}

// The reference values of tests/data/expected.json, by key.
inline QJsonObject expectedValues()
{
    QFile file(dataFile("expected.json"));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

// A picture file of one colour, written as its name's ending says; answers the path.
inline QString writeCard(const QString& path, int width, int height, QRgb colour, const char* format = nullptr)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, format);
    return path;
}

// Every byte of a file; none when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace tonobild::testdata
