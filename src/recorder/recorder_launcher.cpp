#include "recorder/recorder_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "recorder/recorder_arguments.h"
#include "soundfile/recording_file.h"
#include "common/file_error.h"
#include "common/file_kinds.h"
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

// The recorder as the settings name it, and its file: a bare name is looked
// up on the search path, so that a missing program is reported as missing
// rather than as a failed start. The problem says why there is no program
// to start, or is empty.
struct Recorder {
    QString program;
    QString path;
    QString problem;
};

Recorder findRecorder(const QString& program)
{
    const QString path = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    Recorder recorder{program, path, {}};
    const QFileInfo file(recorder.path);
    if (recorder.path.isEmpty() || !file.exists())
        recorder.problem = QStringLiteral("Cannot start the recorder %1: the program was not found.").arg(program);
    else if (!file.isFile() || !file.isExecutable())
        recorder.problem =
            QStringLiteral("Cannot start the recorder %1: it is not a program that can be run.").arg(program);
    return recorder;
}

QString start(const Recorder& recorder, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(recorder.path);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        const QString reason = process.errorString().isEmpty() ? QStringLiteral("it could not be run")
                                                               : process.errorString();
        return QStringLiteral("Cannot start the recorder %1: %2").arg(recorder.program, reason);
    }
    return {};
}

// Moves an old recording to an unused name beside it, for as long as the
// recorder might not start: answers that name, or why it cannot be moved.
struct Aside {
    QString path;
    QString problem;
};

Aside setAside(const QString& file)
{
    const QString aside = QString::fromStdString(unusedNameBeside(file.toStdString(), ".old"));
    QFile old(file);
    if (old.rename(aside))
        return {aside, {}};
    return {{}, old.errorString()};
}

// Puts the old recording back in place of the prepared file; answers what the
// user must be told when it stays under the name beside it.
QString putBack(const QString& file, const QString& aside)
{
    if (aside.isEmpty())
        return {};
    QFile::remove(file);
    QFile old(aside);
    if (old.rename(file))
        return {};
    return QStringLiteral("; the old recording is kept as %1 (%2)").arg(aside, old.errorString());
}

QString prepare(const QString& audioFile)
{
    try {
        prepareRecordingFile(audioFile.toStdString());
    } catch (const FileError& error) {
        return QStringLiteral("Cannot prepare the recording file %1: %2")
            .arg(audioFile, QString::fromStdString(error.reason()));
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
    // The recorder is found before the file is emptied, and the old recording is
    // discarded only once the recorder has started: it is not lost for a
    // recorder that is not there or does not run.
    const Recorder recorder = findRecorder(recorderProgram(store));
    if (!recorder.problem.isEmpty())
        return recorder.problem;
    // A link stays a link: the recording is the file it leads to.
    const QString file = QString::fromStdString(linkTarget(audioFile.toStdString()));
    if (const std::string kind = specialFileKind(file.toStdString()); !kind.empty())
        return QStringLiteral("Cannot prepare the recording file %1: it is %2, not a recording file")
            .arg(audioFile, QString::fromStdString(kind));
    Aside aside;
    if (QFileInfo(file).isFile()) {
        aside = setAside(file);
        if (!aside.problem.isEmpty())
            return QStringLiteral("Cannot prepare the recording file %1: the old recording cannot be kept aside "
                                  "until the recorder runs: %2")
                .arg(audioFile, aside.problem);
    }
    QString problem = prepare(file);
    if (problem.isEmpty())
        problem = start(recorder, toQStringList(recordArguments(audioFile.toStdString())));
    if (!problem.isEmpty())
        return problem + putBack(file, aside.path);
    if (!aside.path.isEmpty())
        QFile::remove(aside.path);
    return {};
}

QString startPlaying(const QString& audioFile, const SettingsStore& store)
{
    const Recorder recorder = findRecorder(recorderProgram(store));
    if (!recorder.problem.isEmpty())
        return recorder.problem;
    return start(recorder, toQStringList(playArguments(audioFile.toStdString())));
}

} // namespace tonobild
