// The gallery folder: every received picture kept at once as PNG, with its
// recording beside it as WAV (the samples as they came from the input device,
// behind a 44-byte header) and one line in index.txt. Nothing is overwritten.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "picture/working_picture.h"

namespace tonobild {

struct GalleryEntry {
    QString picturePath;
    QString recordingPath;
    QDateTime time;
};

// What is kept of one received picture.
struct GalleryItem {
    const WorkingPicture& picture;
    std::span<const std::uint8_t> recording; // 8-bit unsigned mono samples
    std::uint32_t sampleRate = 0;
    std::string_view codeword;               // empty when no signature was read
    std::string_view readOut;                // the signature read-out
    QString decodeOptions;                   // the decode options the picture was made with
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

    // Keeps the picture under the first free name of its time and codeword:
    // the recording, then the picture, then the index line. Answers nothing and
    // sets the problem (the file and the reason) when any of them cannot be
    // written; what was written stays, and the index names only what is whole.
    std::optional<GalleryEntry> keep(const GalleryItem& item, const QDateTime& when, QString* problem) const;

    // The latest pictures of the folder, newest first.
    QStringList latestPictures(int count) const;

private:
    QString createFolder() const;

    QString folder_;
};

} // namespace tonobild
