// Where pictures come from and go to besides picture files: the clipboard, the
// test-card thumbnail and the two fixed cards; and the file selection dialog
// behind the "-" buttons and the double clicks on the file name boxes.
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "app/form1.h"
#include "widgets/user_dialogs.h"
#include "filedialog/file_selection.h"
#include "picture/picture_clipboard.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "picture/test_cards.h"
#include "settings/settings_store.h"

namespace tonobild {

void Form1::connectSourceReactions()
{
    connect(Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
    connect(Command12, &QPushButton::clicked, this, &Form1::Command12_Click);
    connect(Command14, &QPushButton::clicked, this, &Form1::Command14_Click);
    connect(Command16, &QPushButton::clicked, this, &Form1::Text4_DblClick);
    connect(Command17, &QPushButton::clicked, this, &Form1::Text2_DblClick);
    connect(Command18, &QPushButton::clicked, this, &Form1::Text3_DblClick);
    connect(Image2, &PictureView::clicked, this, &Form1::Image2_Click);
    connect(Picture2, &PictureView::clicked, this, &Form1::Picture2_Click);
    connect(Picture3, &PictureView::clicked, this, &Form1::Picture3_Click);
    for (QLineEdit* box : {Text2, Text3, Text4})
        box->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && !busy_) {
        if (watched == Text2)
            Text2_DblClick();
        else if (watched == Text3)
            Text3_DblClick();
        else if (watched == Text4)
            Text4_DblClick();
        else
            return QWidget::eventFilter(watched, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Command10_Click()
{
    const LoadedPicture clipboard = pictureFromClipboard();
    if (clipboard.image.isNull()) {
        dialogs_.message(this, QStringLiteral("Load from Clipboard"),
                         QStringLiteral("Cannot load a picture from the clipboard: %1").arg(clipboard.problem));
        return;
    }
    placePicture(clipboard.image);
}

void Form1::Command12_Click()
{
    copyPictureToClipboard(toImage(picture_));
}

void Form1::Image2_Click()
{
    if (!Image2->image().isNull())
        placePicture(Image2->image());
}

void Form1::Picture2_Click()
{
    placePicture(Picture2->image());
}

void Form1::Picture3_Click()
{
    Picture3->setImage(whiteCard());
    placePicture(Picture3->image());
}

// Asks for a file name with the file selection dialog; answers the chosen path,
// or an empty text when the user cancelled or the window is closing.
QString Form1::chooseFile(const FileSelectionRequest& request)
{
    const FileSelectionResult result =
        selectFile(this, dialogs_, store_, request, [this] { return closing_; });
    reportSettingsProblem();
    return result.cancelled || closing_ ? QString() : result.path;
}

void Form1::Text2_DblClick()
{
    const QString path = chooseFile(audioFileRequest());
    if (!path.isEmpty())
        Text2->setText(path);
}

void Form1::Text3_DblClick()
{
    const QString path = chooseFile(outputPictureRequest());
    if (!path.isEmpty())
        Text3->setText(path);
}

void Form1::Text4_DblClick()
{
    const QString path = chooseFile(inputPictureRequest());
    if (path.isEmpty())
        return;
    Text4->setText(path);
    Command11_Click();
}

// "Change testcard directory": the folder of the file confirmed in the dialog
// becomes the test-card folder; the input picture is loaded again.
void Form1::Command14_Click()
{
    const QString firstFolder = storedFolder(store_, kTestPatternKey, installedTestCardFolder());
    const FileSelectionResult result =
        runFileSelection(this, dialogs_, firstFolder, QStringLiteral(".BMP"), [this] { return closing_; });
    if (result.cancelled || closing_)
        return;
    store_.write(kDirectoriesSection, kDefaultInPicKey, result.folder.toStdString());
    Command11_Click();
    store_.write(kDirectoriesSection, kTestPatternKey, withTrailingSeparator(result.folder).toStdString());
    reportSettingsProblem();
    VScroll2_Change();
}

} // namespace tonobild
