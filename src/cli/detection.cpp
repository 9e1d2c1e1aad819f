#include "cli/detection.h"

#include <QFileInfo>

#include "cli/cli_support.h"
#include "common/file_error.h"
#include "soundfile/recording.h"
#include "soundfile/sample_file.h"

namespace tonobild::cli {

std::optional<DetectedSettings> detectInFile(const QString& path, const std::vector<std::uint8_t>* conditioned)
{
    DetectedSettings found;
    try {
        if (conditioned) {
            MemorySamples samples(*conditioned);
            found = detectSettings(samples);
        } else {
            SampleFile file(path.toStdString());
            found = detectSettings(file);
        }
    } catch (const FileError& error) {
        fail(QString::fromStdString(error.what()));
        return std::nullopt;
    }
    if (!found.found) {
        fail(QStringLiteral("%1: no transmission found: %2").arg(path, QString::fromStdString(found.reason)));
        return std::nullopt;
    }
    return found;
}

QCommandLineOption conditionOption()
{
    return {QStringLiteral("condition"),
            QStringLiteral("condition the recording first (before --detect): read it through libsndfile (WAV, FLAC, "
                           "OGG, MP3, ...), take off a bias, find the hold length from the line syncs, and read the "
                           "centre of each held sample at any recording rate and clock, or rebuild the transmission "
                           "from its quarter-rate tone (a player's resampler, a voice channel, a mistuned receiver)")};
}

std::optional<std::vector<std::uint8_t>> conditionFile(const QString& path, ConditionReport& report)
{
    try {
        Recording recording(path.toStdString());
        return conditionRecording(recording, &report);
    } catch (const FileError& error) {
        fail(QString::fromStdString(error.what()));
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> standardInputSamples()
{
    try {
        return readStandardInput();
    } catch (const FileError& error) {
        fail(QString::fromStdString(error.what()));
    }
    return std::nullopt;
}

QStringList decodeOptionsFor(const DetectedSettings& settings)
{
    DecodeSetup setup;
    takeDetected(settings, setup);
    QStringList options;
    for (const std::string_view name : kDetectedOptions)
        if (const DecodeOption& option = decodeOption(name); isNamed(option, setup))
            options << QString::fromStdString(optionText(option, option.read(setup)));
    return options;
}

QString sureness(const DetectedSettings& settings, qint64 fileBytes)
{
    return QStringLiteral("%1, %2 of %3 bytes read")
        .arg(QString::fromStdString(certaintyText(settings)))
        .arg(settings.bytesRead)
        .arg(fileBytes);
}

} // namespace tonobild::cli
