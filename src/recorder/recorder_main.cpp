// tonobild-recorder FILE: records into FILE. tonobild-recorder /play /close FILE:
// plays FILE and closes at the end.
#include <QApplication>
#include <QTextStream>

#include "audio/sound_program_end.h"
#include "widgets/user_dialogs.h"
#include "recorder/recorder_arguments.h"
#include "recorder/recorder_window.h"
#include "settings/qsettings_store.h"

namespace {

// Records or plays as the arguments say; answers the exit code once the
// window has closed, the recording is saved and the transmitter released.
int runRecorder(const QStringList& arguments)
{
    std::vector<std::string> words;
    if (arguments.size() == 2 && (arguments.at(1) == QLatin1String("--help") || arguments.at(1) == QLatin1String("-h"))) {
        QTextStream(stdout) << "Usage: tonobild-recorder FILE              record into FILE (space bar starts and stops)\n"
                               "       tonobild-recorder /play /close FILE  play FILE, then close\n"
                               "A file really named --help is given as ./--help.\n";
        return 0;
    }
    for (qsizetype i = 1; i < arguments.size(); ++i)
        words.push_back(arguments.at(i).toStdString());
    tonobild::DesktopDialogs dialogs;
    const tonobild::RecorderArguments parsed = tonobild::parseRecorderArguments(words);
    if (!parsed.request) {
        dialogs.message(nullptr, QStringLiteral("Tonobild Recorder"), QString::fromStdString(parsed.problem));
        return 2;
    }
    tonobild::QSettingsStore store;
    tonobild::RecorderWindow window(dialogs, store, *parsed.request);
    window.show();
    window.startRequestedPlay();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tonobild-recorder"));
    tonobild::endSoundProgram(runRecorder(QApplication::arguments()));
}
