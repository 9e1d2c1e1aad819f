// The gallery folder: every received picture kept at once as PNG, with its
// recording beside it as WAV (the samples as they came from the input device,
// behind a 44-byte header) and one line in index.txt: time, picture,
// recording, length, the options that decode the recording again, and the
// report of what was read of the sender. Nothing is overwritten. Whatever
// family sent it, a picture is kept alike.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

#include "family/received_picture.h"

namespace tonobild {

struct GalleryEntry {
    QString picturePath;
    QString recordingPath;
    QDateTime time;
};

// A picture of the gallery as its index line tells it.
struct GalleryItem {
    GalleryEntry entry;
    QString decodeOptions; // the options of "tonobild-cli decode" that decode the recording again
    QString report;
};

// ~/Pictures/Tonobild, or the user's own pictures folder when it lies elsewhere.
QString defaultGalleryFolder();

class Gallery {
public:
    static constexpr const char* kIndexName = "index.txt";

    explicit Gallery(QString folder) : folder_(std::move(folder)) {}
    const QString& folder() const { return folder_; }

    // Creates the folder when it is not there and tries a file in it, before
    // anything is received. Answers empty, or the problem (the folder and the reason).
    QString prepare() const;

    // Keeps the picture under the first free name of its time and name part:
    // the recording, then the picture, then the index line. Answers nothing and
    // sets the problem (the file and the reason) when any of them cannot be
    // written; what was written stays, and the index names only what is whole.
    std::optional<GalleryEntry> keep(const ReceivedPicture& received, const QDateTime& when, QString* problem) const;

    // The latest pictures of the folder, newest first.
    QStringList latestPictures(int count) const;
    // What the index says of each picture it names, by the picture's file name.
    QHash<QString, GalleryItem> indexed() const;

private:
    QString createFolder() const;

    QString folder_;
};

} // namespace tonobild
