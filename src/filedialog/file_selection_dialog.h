// The station's own file selection dialog "File Selection": a folder list, the
// files of that folder with the wanted extension (shown in lower case), a file
// name box, "OK" and "CANCEL", and a preview of bitmaps. The caller sets the
// extension and the first folder and waits for the result: "CANCEL" or the
// full path of the chosen file.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tonobild {

class PictureView;
class UserDialogs;

// The answer of the dialog when the user cancels.
inline const QString kCancelled = QStringLiteral("CANCEL");

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(UserDialogs& dialogs, QWidget* parent = nullptr);

    // The extension of the listed files, e.g. ".BMP" or ".WAV"; runs Label6_Change.
    void setExtension(const QString& extension);
    // The current folder; runs Label5_Change when it differs from the one held.
    void setFolder(const QString& folder);
    // Empties the result before a new request.
    void clearResult() { result_.clear(); }

    const QString& extension() const noexcept { return extension_; }
    const QString& folder() const noexcept { return folder_; }
    // The folder list's folder: no trailing "/" except for the root "/".
    const QString& folderListPath() const noexcept { return folderListPath_; }
    // Empty while the dialog waits; "CANCEL" or the full path of the chosen file.
    const QString& result() const noexcept { return result_; }

    // Reactions, named after the control and the event.
    void Label5_Change();
    void Label6_Change();
    void Dir1_Change();
    void Dir1_DblClick(QListWidgetItem* item);
    void List1_Click(QListWidgetItem* item);
    void Command1_Click(); // OK
    void Command2_Click(); // CANCEL

    static constexpr int kWideWidth = 697;   // with the bitmap preview
    static constexpr int kNarrowWidth = 433; // without it

signals:
    // The result is set: the caller may stop waiting.
    void answered();

protected:
    // Closing through the window frame ends the dialog like "CANCEL".
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    bool choosesBitmaps() const;
    void moveFolderList(const QString& folder);
    void fillFolderList();
    void fillFileList();
    void answer(const QString& result);
    QString chosenFileName() const;

public:
    // Controls, named as in the station's design.
    QLabel* Label4 = nullptr;      // "Look In:"
    QLabel* LookIn = nullptr;      // the folder list's folder
    QListWidget* Dir1 = nullptr;   // folders: ".." and the subfolders
    QListWidget* List1 = nullptr;  // files with the extension, lower case
    QLabel* Label3 = nullptr;      // "File Name:"
    QLineEdit* Text1 = nullptr;    // file name
    QPushButton* Command1 = nullptr; // "OK"
    QPushButton* Command2 = nullptr; // "CANCEL"
    QPushButton* homeButton = nullptr; // "Home": the folder list back at the home folder in one click
    PictureView* Image1 = nullptr;   // bitmap preview

private:
    UserDialogs& dialogs_;
    QString folder_;         // the current folder (the request's folder, then the folder list's with "/")
    QString extension_;      // the extension filter
    QString folderListPath_; // the folder the folder list shows
    QString result_;         // the answer
    QString pickedName_;     // the file name, as the file system spells it, of the last clicked entry
    QString pickedShown_;    // that entry as shown (lower case)
};

} // namespace tonobild
