// tonobild: the slow-scan picture station.
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>

#include "app/form1.h"
#include "audio/sound_program_end.h"
#include "widgets/user_dialogs.h"
#include "settings/qsettings_store.h"

namespace {

// The window's life, from the command line to its close; its devices, files
// and settings are closed and written when this returns.
int runStation(QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tonobild 3, the slow-scan picture station."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window as it opens, then end."),
                                        QStringLiteral("PNG"));
    parser.addOption(screenshot);
    parser.process(app);

    tonobild::DesktopDialogs dialogs;
    tonobild::QSettingsStore store;
    tonobild::Form1 window(dialogs, store);
    // Closing the main window ends the program at once, also from inside a running command.
    QObject::connect(&window, &tonobild::Form1::programEnding, &app, [] {
        QApplication::closeAllWindows();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    window.Form_Load();
    // Its natural size, on a smaller screen what the screen holds: each view scrolls.
    if (const QScreen* screen = window.screen())
        window.resize(window.sizeHint().boundedTo(screen->availableGeometry().size()));
    window.show();
    if (parser.isSet(screenshot)) {
        QTimer::singleShot(500, &window, [&] {
            const bool saved = window.grab().save(parser.value(screenshot));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonobild 3"));
    QApplication::setApplicationVersion(QStringLiteral(TONOBILD_VERSION_STRING));
    tonobild::endSoundProgram(runStation(app));
}
