#include "receiver/gallery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <filesystem>
#include <span>
#include <system_error>

#include "soundfile/wav_header.h"
#include "picture/picture_files.h"
#include "receiver/gallery_names.h"

namespace tonobild {

namespace {

LocalTime localTime(const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

// Creates the recording file, failing when the name is taken: the name is
// claimed and written in one step.
QString writeRecording(const QString& path, std::span<const std::uint8_t> samples, std::uint32_t sampleRate)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.errorString();
    const auto header = pcm8MonoHeader(sampleRate, static_cast<std::uint32_t>(samples.size()));
    const bool written =
        file.write(reinterpret_cast<const char*>(header.data()), static_cast<qint64>(header.size())) ==
            static_cast<qint64>(header.size()) &&
        file.write(reinterpret_cast<const char*>(samples.data()), static_cast<qint64>(samples.size())) ==
            static_cast<qint64>(samples.size()) &&
        file.flush();
    if (written)
        return {};
    const QString reason = file.errorString();
    file.remove(); // a recording cut short by a full disk is no recording
    return reason;
}

QString indexLine(const GalleryEntry& entry, const ReceivedPicture& received)
{
    const std::string& report = received.report;
    return QStringList{entry.time.toString(Qt::ISODate), QFileInfo(entry.picturePath).fileName(),
                       QFileInfo(entry.recordingPath).fileName(),
                       QStringLiteral("%1 s").arg(received.seconds(), 0, 'f', 1),
                       QString::fromStdString(received.decodeOptions),
                       QString::fromLatin1(report.data(), static_cast<qsizetype>(report.size()))}
               .join(QLatin1Char('\t')) +
           QLatin1Char('\n');
}

} // namespace

QString defaultGalleryFolder()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        pictures = QDir::home().filePath(QStringLiteral("Pictures"));
    return QDir(pictures).filePath(QStringLiteral("Tonobild"));
}

// Creates the folder with its parents when it is not there; answers empty or the problem.
QString Gallery::createFolder() const
{
    std::error_code error;
    std::filesystem::create_directories(folder_.toStdString(), error);
    if (!error && QFileInfo(folder_).isDir())
        return {};
    return QStringLiteral("cannot create the gallery folder %1: %2")
        .arg(QDir::toNativeSeparators(folder_),
             error ? QString::fromStdString(error.message()) : QStringLiteral("not a folder"));
}

QString Gallery::prepare() const
{
    if (const QString problem = createFolder(); !problem.isEmpty())
        return problem;
    QTemporaryFile probe(QDir(folder_).filePath(QStringLiteral(".tonobild-probe-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("cannot write into the gallery folder %1: %2")
            .arg(QDir::toNativeSeparators(folder_), probe.errorString());
    return {};
}

std::optional<GalleryEntry> Gallery::keep(const ReceivedPicture& received, const QDateTime& when,
                                          QString* problem) const
{
    const QDir folder(folder_);
    *problem = createFolder();
    if (!problem->isEmpty())
        return std::nullopt;
    const std::string stem = galleryStem(localTime(when), received.namePart);
    GalleryEntry entry{{}, {}, when};
    for (int n = 1;; ++n) {
        const QString name = QString::fromStdString(numberedStem(stem, n));
        entry.picturePath = folder.filePath(name + QStringLiteral(".png"));
        entry.recordingPath = folder.filePath(name + QStringLiteral(".wav"));
        if (QFileInfo::exists(entry.picturePath) || QFileInfo::exists(entry.recordingPath))
            continue;
        const QString reason = writeRecording(entry.recordingPath, received.recording, received.sampleRate);
        if (reason.isEmpty())
            break;
        if (!QFileInfo::exists(entry.recordingPath)) { // not a name taken meanwhile: the folder refuses
            *problem = cannotWrite(entry.recordingPath, reason);
            return std::nullopt;
        }
    }
    if (const QString reason = savePictureFile(toImage(received.picture), entry.picturePath); !reason.isEmpty()) {
        *problem = cannotWrite(entry.picturePath, reason);
        return std::nullopt;
    }
    QFile index(folder.filePath(QString::fromLatin1(kIndexName)));
    const QByteArray line = indexLine(entry, received).toUtf8();
    if (!index.open(QIODevice::WriteOnly | QIODevice::Append) || index.write(line) != line.size() || !index.flush()) {
        *problem = cannotWrite(index.fileName(), index.errorString());
        return std::nullopt;
    }
    return entry;
}

QStringList Gallery::latestPictures(int count) const
{
    QStringList paths;
    const QFileInfoList pictures =
        QDir(folder_).entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Time);
    for (const QFileInfo& picture : pictures) {
        if (paths.size() == count)
            break;
        paths << picture.filePath();
    }
    return paths;
}

} // namespace tonobild

namespace tonobild {

QHash<QString, GalleryItem> Gallery::indexed() const
{
    QHash<QString, GalleryItem> items;
    const QDir folder(folder_);
    QFile index(folder.filePath(QString::fromLatin1(kIndexName)));
    if (!index.open(QIODevice::ReadOnly | QIODevice::Text))
        return items;
    while (!index.atEnd()) {
        QString line = QString::fromUtf8(index.readLine());
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 6)
            continue;
        GalleryEntry entry{folder.filePath(fields[1]), folder.filePath(fields[2]),
                           QDateTime::fromString(fields[0], Qt::ISODate)};
        items.insert(fields[1], {entry, fields[4], fields[5]});
    }
    return items;
}

} // namespace tonobild
