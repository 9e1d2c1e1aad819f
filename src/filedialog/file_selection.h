// Choosing a file with the dialog "File Selection", as the main window does it:
// the main window hides, the dialog opens at the first folder and the caller
// waits, with the event loop running, until the user confirms or cancels.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace tonobild {

class SettingsStore;
class UserDialogs;

struct FileSelectionRequest {
    std::string folderKey; // key in "Directories" that remembers the folder
    QString extension;     // ".BMP" or ".WAV"
    QString defaultFolder; // first folder when the key holds none
};

struct FileSelectionResult {
    bool cancelled = true;
    QString path;   // the full path of the chosen file; "CANCEL" when cancelled
    QString folder; // the confirmed folder: no trailing "/" except for the root "/"
};

// Answers true once the main window is closing: the wait then ends at once.
using ClosingCheck = std::function<bool()>;

// The platform's counterpart of the drive root "C:\": the user's home folder.
QString homeFolder();
// The folder with a "/" at its end, unless it is empty or already ends so.
QString withTrailingSeparator(const QString& folder);
// The folder stored under "Directories" and the key, or the default.
QString storedFolder(const SettingsStore& store, const std::string& folderKey, const QString& defaultFolder);

// The requests of the audio file, output picture and input picture boxes.
FileSelectionRequest audioFileRequest();
FileSelectionRequest outputPictureRequest();
FileSelectionRequest inputPictureRequest();

// Opens the dialog at a folder and waits for its answer; stores nothing.
// The main window (may be null) is hidden during the wait and shown again after,
// unless it is closing.
FileSelectionResult runFileSelection(QWidget* mainWindow, UserDialogs& dialogs, const QString& firstFolder,
                                     const QString& extension, const ClosingCheck& closing = {});

// Opens the dialog at the request's stored folder, waits for the answer and,
// when the user confirms, stores the confirmed folder under the request's key.
FileSelectionResult selectFile(QWidget* mainWindow, UserDialogs& dialogs, SettingsStore& store,
                               const FileSelectionRequest& request, const ClosingCheck& closing = {});

} // namespace tonobild
