#include "receiver/decode_again.h"

#include <QDir>

#include "common/file_error.h"
#include "family/standard_family.h"
#include "soundfile/wav_file.h"

namespace tonobild {

std::variant<DecodedAgain, QString> decodeAgain(const Gallery& gallery, const GalleryItem& item,
                                                const standard::ReceiveOptions& options)
{
    const QString path = QDir::toNativeSeparators(item.entry.recordingPath);
    WavAudio audio;
    try {
        audio = readWavFile(item.entry.recordingPath.toStdString());
    } catch (const FileError& error) {
        return QString::fromStdString(error.what());
    } catch (const WavFormatError& error) {
        return QStringLiteral("cannot decode %1 again: %2").arg(path, QString::fromUtf8(error.what()));
    }
    if (audio.bitsPerSample != 8 || audio.channels != 1)
        return QStringLiteral("cannot decode %1 again: it is not the gallery's 8-bit mono recording").arg(path);
    std::optional<ReceivedPicture> received;
    try {
        received = decodeStandardRecording(std::move(audio.data), audio.sampleRate, options);
    } catch (const std::invalid_argument& error) { // a rate too low for the tones
        return QStringLiteral("cannot decode %1 again: %2").arg(path, QString::fromUtf8(error.what()));
    }
    if (!received)
        return QStringLiteral("no standard transmission found in %1").arg(path);
    QString problem;
    const std::optional<GalleryEntry> entry = gallery.keep(*received, item.entry.time, &problem);
    if (!entry)
        return problem;
    return DecodedAgain{std::move(*received), *entry};
}

} // namespace tonobild
