#include "filedialog/file_selection.h"

#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "filedialog/file_selection_dialog.h"
#include "settings/mode_presets.h"
#include "settings/settings_store.h"

namespace tonobild {

QString homeFolder()
{
    return QDir::cleanPath(QDir::homePath());
}

QString withTrailingSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString storedFolder(const SettingsStore& store, const std::string& folderKey, const QString& defaultFolder)
{
    return QString::fromStdString(store.read(kDirectoriesSection, folderKey, defaultFolder.toStdString()));
}

FileSelectionRequest audioFileRequest()
{
    return {kDefaultInWavKey, QStringLiteral(".WAV"), homeFolder()};
}

FileSelectionRequest outputPictureRequest()
{
    return {kDefaultOutPicKey, QStringLiteral(".BMP"), homeFolder()};
}

FileSelectionRequest inputPictureRequest()
{
    return {kDefaultInPicKey, QStringLiteral(".BMP"), homeFolder()};
}

namespace {

bool isClosing(const ClosingCheck& closing)
{
    return closing && closing();
}

// Runs the event loop until the dialog answers or the main window is closing.
void waitForAnswer(Form2& dialog, const ClosingCheck& closing)
{
    QEventLoop loop;
    QObject::connect(&dialog, &Form2::answered, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (isClosing(closing))
            loop.quit();
    });
    poll.start(50);
    if (dialog.result().isEmpty() && !isClosing(closing))
        loop.exec();
}

} // namespace

FileSelectionResult runFileSelection(QWidget* mainWindow, UserDialogs& dialogs, const QString& firstFolder,
                                     const QString& extension, const ClosingCheck& closing)
{
    const QPointer<QWidget> window(mainWindow);
    Form2 dialog(dialogs);
    dialog.clearResult();
    dialog.setExtension(extension);
    dialog.setFolder(firstFolder);
    dialog.show();
    dialog.Text1->setFocus();
    if (window)
        window->hide();

    waitForAnswer(dialog, closing);

    if (window && !isClosing(closing))
        window->show();
    dialog.hide();
    if (dialog.result().isEmpty() || dialog.result() == kCancelled)
        return {true, kCancelled, {}};
    return {false, dialog.result(), dialog.folderListPath()};
}

FileSelectionResult selectFile(QWidget* mainWindow, UserDialogs& dialogs, SettingsStore& store,
                               const FileSelectionRequest& request, const ClosingCheck& closing)
{
    const QString firstFolder = storedFolder(store, request.folderKey, request.defaultFolder);
    FileSelectionResult result = runFileSelection(mainWindow, dialogs, firstFolder, request.extension, closing);
    if (!result.cancelled)
        store.write(kDirectoriesSection, request.folderKey, result.folder.toStdString());
    return result;
}

} // namespace tonobild
