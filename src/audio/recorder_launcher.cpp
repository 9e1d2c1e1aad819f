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

// The recorder's file: a bare name is looked up on the search path, so that a
// missing program is reported as missing rather than as a failed start. Empty,
// with the reason in `problem`, when there is no program to start.
QString locate(const QString& program, QString& problem)
{
    const QString found = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    const QFileInfo file(found);
    if (found.isEmpty() || !file.exists())
        problem = QStringLiteral("Cannot start the recorder %1: the program was not found.").arg(program);
    else if (!file.isFile() || !file.isExecutable())
        problem = QStringLiteral("Cannot start the recorder %1: it is not a program that can be run.").arg(program);
    return problem.isEmpty() ? found : QString();
}

QString start(const QString& program, const QString& found, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(found);
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
    // The recorder is found before the file is emptied: an old recording is not
    // discarded for a recorder that is not there.
    const QString program = recorderProgram(store);
    QString problem;
    const QString found = locate(program, problem);
    if (found.isEmpty())
        return problem;
    try {
        prepareRecordingFile(audioFile.toStdString());
    } catch (const FileError& error) {
        return QStringLiteral("Cannot prepare the recording file %1: %2")
            .arg(audioFile, QString::fromStdString(error.reason()));
    }
    return start(program, found, toQStringList(recordArguments(audioFile.toStdString())));
}

QString startPlaying(const QString& audioFile, const SettingsStore& store)
{
    const QString program = recorderProgram(store);
    QString problem;
    const QString found = locate(program, problem);
    return found.isEmpty() ? problem : start(program, found, toQStringList(playArguments(audioFile.toStdString())));
}

} // namespace tonobild
