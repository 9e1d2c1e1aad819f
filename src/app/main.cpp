// tonobild: the slow-scan picture station.
#include <QApplication>
#include <QTimer>

#include "app/form1.h"
#include "app/user_dialogs.h"
#include "settings/qsettings_store.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonobild 3"));
    QApplication::setApplicationVersion(QStringLiteral(TONOBILD_VERSION_STRING));

    tonobild::DesktopDialogs dialogs;
    tonobild::QSettingsStore store;
    tonobild::Form1 window(dialogs, store);
    // Closing the main window ends the program at once, also from inside a running command.
    QObject::connect(&window, &tonobild::Form1::programEnding, &app, [] {
        QApplication::closeAllWindows();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
