#include "cli/detection.h"

#include <QFileInfo>

#include "cli/cli_support.h"
#include "common/file_error.h"
#include "decoder/sample_file.h"

namespace tonobild::cli {

std::optional<DetectedSettings> detectInFile(const QString& path)
{
    DetectedSettings found;
    try {
        SampleFile file(path.toStdString());
        found = detectSettings(file);
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

QStringList decodeOptionsFor(const DetectedSettings& settings)
{
    QStringList options{QStringLiteral("--resolution %1x%2").arg(settings.pictureWidth).arg(settings.pictureHeight)};
    if (settings.halfX)
        options << QStringLiteral("--half-x");
    if (settings.mono)
        options << QStringLiteral("--mono");
    if (settings.compand)
        options << QStringLiteral("--compand");
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
