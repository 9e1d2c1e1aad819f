#include "audio/recorder_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "audio/recorder_arguments.h"
#include "audio/recording_file.h"
#include "common/file_error.h"
#include "settings/mode_presets.h"
#include "settings/settings_store.h"

namespace tonobild {

namespace {

const QString kRecorderName = QStringLiteral("tonobild-recorder");

QStringList toQStringList(const std::vector<std::string>& words)
{
    QStringList list;
    for (const auto& w : words)
        list << QString::fromStdString(w);
    return list;
}

QString start(const QString& program, const QStringList& arguments)
{
    // A bare name is looked up on the search path first, so that a missing
    // program is reported as missing rather than as a failed start.
    QString resolved = program;
    if (!program.contains(QLatin1Char('/'))) {
        resolved = QStandardPaths::findExecutable(program);
        if (resolved.isEmpty())
            return QStringLiteral("Cannot start the recorder %1: the program was not found.").arg(program);
    }
    QProcess process;
    process.setProgram(resolved);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        const QString reason = process.errorString().isEmpty() ? QStringLiteral("it could not be run")
                                                               : process.errorString();
        return QStringLiteral("Cannot start the recorder %1: %2").arg(program, reason);
    }
    return {};
}

} // namespace

QString recorderProgram(const SettingsStore& store)
{
    const QString stored = QString::fromStdString(store.read(kSettingsSection, kRecorderKey, ""));
    if (!stored.trimmed().isEmpty())
        return stored;
    if (QCoreApplication::instance() != nullptr) {
        const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(kRecorderName));
        if (beside.isFile() && beside.isExecutable())
            return beside.filePath();
    }
    return kRecorderName;
}

QString startRecording(const QString& audioFile, const SettingsStore& store)
{
    try {
        prepareRecordingFile(audioFile.toStdString());
    } catch (const FileError& error) {
        return QStringLiteral("Cannot prepare the recording file %1: %2")
            .arg(audioFile, QString::fromStdString(error.reason()));
    }
    return start(recorderProgram(store), toQStringList(recordArguments(audioFile.toStdString())));
}

QString startPlaying(const QString& audioFile, const SettingsStore& store)
{
    return start(recorderProgram(store), toQStringList(playArguments(audioFile.toStdString())));
}

} // namespace tonobild
