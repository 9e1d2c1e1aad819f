// The dialog "File Selection" and the caller's wait, driven through real widgets
// on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "filedialog/file_selection.h"
#include "filedialog/file_selection_dialog.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "settings/memory_settings_store.h"
#include "settings/mode_presets.h"
#include "support/fake_dialogs.h"

using namespace tonobild;
using tonobild::testdata::FakeDialogs;

namespace {

QStringList shownNames(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

QStringList realNames(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->data(Qt::UserRole).toString();
    return names;
}

void sendMouse(QListWidget* list, QPointF point, QEvent::Type type)
{
    QMouseEvent event(type, point, list->viewport()->mapToGlobal(point), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
}

// The centre of an entry, where the mouse clicks it.
QPointF entryCentre(const QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    EXPECT_FALSE(found.isEmpty()) << text.toStdString();
    return found.isEmpty() ? QPointF(-1, -1) : QRectF(list->visualItemRect(found.front())).center();
}

void click(QListWidget* list, const QString& text)
{
    const QPointF point = entryCentre(list, text);
    sendMouse(list, point, QEvent::MouseButtonPress);
    sendMouse(list, point, QEvent::MouseButtonRelease);
}

void doubleClick(QListWidget* list, const QString& text)
{
    const QPointF point = entryCentre(list, text);
    sendMouse(list, point, QEvent::MouseButtonPress);
    sendMouse(list, point, QEvent::MouseButtonRelease);
    sendMouse(list, point, QEvent::MouseButtonDblClick);
    sendMouse(list, point, QEvent::MouseButtonRelease);
}

void pressEnter(QWidget* widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(widget, &press);
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->clear();
    for (const QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &key);
    }
}

class FileSelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        folder = QDir::cleanPath(scratch.path());
        writePicture(QStringLiteral("b.bmp"), 16, 12);
        writePicture(QStringLiteral("C.BMP"), 32, 24);
        writePicture(QStringLiteral("a.bmp"), 8, 6);
        writeFile(QStringLiteral("x.WAV"), "RIFF");
        writeFile(QStringLiteral("notes.txt"), "words");
        writeFile(QStringLiteral("broken.bmp"), "not a bitmap");
        QDir(folder).mkpath(QStringLiteral("Sub/deeper"));
        QDir(folder).mkpath(QStringLiteral("folder.bmp"));
        writePicture(QStringLiteral("Sub/inner.bmp"), 4, 4);
    }

    void writePicture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(width * 4, 100, 50));
        ASSERT_EQ(savePictureFile(image, path(name)), QString());
    }

    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString path(const QString& name) const { return folder + QLatin1Char('/') + name; }

    FakeDialogs dialogs;
    QTemporaryDir scratch;
    QString folder;
};

// Runs `action` on the dialog once the caller's wait has shown it.
void whenDialogOpens(std::function<void(Form2&)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<Form2*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                action(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "no open file selection dialog";
    });
}

} // namespace

TEST_F(FileSelectionTest, ControlsCarryTheirNamesAndCaptions)
{
    Form2 dialog(dialogs);
    EXPECT_EQ(dialog.objectName(), "Form2");
    EXPECT_EQ(dialog.windowTitle(), "File Selection");
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label4"))->text(), "Look In:");
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label3"))->text(), "File Name:");
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), "OK");
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("Command2"))->text(), "CANCEL");
    for (const char* name : {"Dir1", "List1", "Text1", "Image1", "Command1", "Command2", "Label3", "Label4"}) {
        const auto* control = dialog.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << name;
    }
}

TEST_F(FileSelectionTest, ListsFilesOfTheExtensionInLowerCaseKeepingTheirSpelling)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(folder);
    EXPECT_EQ(shownNames(dialog.List1), (QStringList{"a.bmp", "b.bmp", "broken.bmp", "c.bmp"}));
    EXPECT_EQ(realNames(dialog.List1), (QStringList{"a.bmp", "b.bmp", "broken.bmp", "C.BMP"}));

    dialog.setExtension(QStringLiteral(".WAV"));
    dialog.setFolder(folder);
    EXPECT_EQ(shownNames(dialog.List1), QStringList{"x.wav"});
    EXPECT_EQ(realNames(dialog.List1), QStringList{"x.WAV"});
}

TEST_F(FileSelectionTest, BitmapsGetTheWideFormWithPreviewOtherFilesTheNarrowOne)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    EXPECT_EQ(dialog.width(), 697);
    EXPECT_FALSE(dialog.Image1->isHidden());
    dialog.setExtension(QStringLiteral(".WAV"));
    EXPECT_EQ(dialog.width(), 433);
    EXPECT_TRUE(dialog.Image1->isHidden());
    dialog.setExtension(QStringLiteral(".BMP"));
    EXPECT_EQ(dialog.width(), 697);
}

TEST_F(FileSelectionTest, CurrentFolderFollowsTheFolderListAndEndsInSeparator)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(folder);
    EXPECT_EQ(dialog.folder(), folder + "/");
    EXPECT_EQ(dialog.folderListPath(), folder);
    EXPECT_EQ(shownNames(dialog.Dir1), (QStringList{"..", "folder.bmp", "Sub"}));

    doubleClick(dialog.Dir1, QStringLiteral("Sub"));
    EXPECT_EQ(dialog.folderListPath(), folder + "/Sub");
    EXPECT_EQ(dialog.folder(), folder + "/Sub/");
    EXPECT_EQ(shownNames(dialog.List1), QStringList{"inner.bmp"});
    EXPECT_EQ(shownNames(dialog.Dir1), (QStringList{"..", "deeper"}));

    doubleClick(dialog.Dir1, QStringLiteral(".."));
    EXPECT_EQ(dialog.folderListPath(), folder);
    EXPECT_EQ(shownNames(dialog.List1).size(), 4);
}

TEST_F(FileSelectionTest, FolderThatCannotBeEnteredIsIgnoredAndEmptyMeansHome)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(folder);
    dialog.setFolder(folder + "/missing");
    EXPECT_EQ(dialog.folderListPath(), folder);
    EXPECT_TRUE(shownNames(dialog.List1).isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());

    dialog.setFolder(QString());
    EXPECT_EQ(dialog.folderListPath(), QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(dialog.folder(), withTrailingSeparator(QDir::cleanPath(QDir::homePath())));
}

TEST_F(FileSelectionTest, ClickedBitmapIsNamedAndPreviewedAndABrokenOneLeavesThePreview)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(folder);
    click(dialog.List1, QStringLiteral("c.bmp"));
    EXPECT_EQ(dialog.Text1->text(), "c.bmp");
    EXPECT_EQ(dialog.Image1->image().size(), QSize(32, 24));

    click(dialog.List1, QStringLiteral("broken.bmp"));
    EXPECT_EQ(dialog.Text1->text(), "broken.bmp");
    EXPECT_EQ(dialog.Image1->image().size(), QSize(32, 24));
    EXPECT_TRUE(dialogs.messages.empty());

    Form2 audio(dialogs);
    audio.setExtension(QStringLiteral(".WAV"));
    audio.setFolder(folder);
    click(audio.List1, QStringLiteral("x.wav"));
    EXPECT_EQ(audio.Text1->text(), "x.wav");
    EXPECT_TRUE(audio.Image1->image().isNull());
}

TEST_F(FileSelectionTest, OkAnswersTheFolderAndTheNameAsTheFileSystemSpellsIt)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(folder);
    click(dialog.List1, QStringLiteral("c.bmp"));
    dialog.Command1->click();
    EXPECT_EQ(dialog.result(), folder + "/C.BMP");

    dialog.clearResult();
    typeInto(dialog.Text1, QStringLiteral("New Card.BMP"));
    dialog.Command1->click();
    EXPECT_EQ(dialog.result(), folder + "/New Card.BMP");
}

TEST_F(FileSelectionTest, EnterInTheNameBoxActsAsOk)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".WAV"));
    dialog.setFolder(folder);
    typeInto(dialog.Text1, QStringLiteral("take.wav"));
    pressEnter(dialog.Text1);
    EXPECT_EQ(dialog.result(), folder + "/take.wav");
    EXPECT_EQ(dialog.Text1->text(), "take.wav");
}

TEST_F(FileSelectionTest, OkWithoutANameAsksForOneAndKeepsWaiting)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(folder);
    dialog.Command1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "No file selected");
    EXPECT_EQ(dialogs.messages[0].text, "No file selected. Select a file, or click on cancel");
    EXPECT_TRUE(dialog.result().isEmpty());
}

TEST_F(FileSelectionTest, CancelAndClosingTheWindowBothAnswerCancel)
{
    Form2 cancelled(dialogs);
    cancelled.Command2->click();
    EXPECT_EQ(cancelled.result(), "CANCEL");

    Form2 closed(dialogs);
    closed.show();
    closed.close();
    EXPECT_EQ(closed.result(), "CANCEL");
}

TEST_F(FileSelectionTest, AtTheRootTheResultHasASingleSeparator)
{
    Form2 dialog(dialogs);
    dialog.setExtension(QStringLiteral(".BMP"));
    dialog.setFolder(QStringLiteral("/"));
    EXPECT_EQ(dialog.folderListPath(), "/");
    EXPECT_EQ(dialog.folder(), "/");
    EXPECT_FALSE(shownNames(dialog.Dir1).contains(".."));
    typeInto(dialog.Text1, QStringLiteral("x.bmp"));
    dialog.Command1->click();
    EXPECT_EQ(dialog.result(), "/x.bmp");
}

// The caller's side: hiding the main window, waiting, storing the folder.
class SelectFileTest : public FileSelectionTest {
protected:
    FileSelectionRequest request() const { return {kDefaultInPicKey, QStringLiteral(".BMP"), folder}; }
    std::string stored() const { return store.read(kDirectoriesSection, kDefaultInPicKey, "(none)"); }

    MemorySettingsStore store;
    QWidget mainWindow;
};

TEST_F(SelectFileTest, ConfirmedFileIsAnsweredAndItsFolderStoredWithoutSeparator)
{
    mainWindow.show();
    bool mainWindowHidden = false;
    whenDialogOpens([&](Form2& dialog) {
        mainWindowHidden = mainWindow.isHidden();
        EXPECT_EQ(dialog.folderListPath(), folder);
        EXPECT_EQ(dialog.width(), 697);
        doubleClick(dialog.Dir1, QStringLiteral("Sub"));
        click(dialog.List1, QStringLiteral("inner.bmp"));
        dialog.Command1->click();
    });
    const FileSelectionResult result = selectFile(&mainWindow, dialogs, store, request());
    EXPECT_TRUE(mainWindowHidden);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.path, folder + "/Sub/inner.bmp");
    EXPECT_EQ(stored(), (folder + "/Sub").toStdString());

    // The next request opens in the stored folder.
    whenDialogOpens([&](Form2& dialog) {
        EXPECT_EQ(dialog.folderListPath(), folder + "/Sub");
        dialog.Command2->click();
    });
    selectFile(&mainWindow, dialogs, store, request());
}

TEST_F(SelectFileTest, CancelAfterAnEmptyOkStoresNothing)
{
    mainWindow.show();
    whenDialogOpens([&](Form2& dialog) {
        dialog.Command1->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.Command2->click();
    });
    const FileSelectionResult result = selectFile(&mainWindow, dialogs, store, request());
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.path, "CANCEL");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(store.writes().empty());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(SelectFileTest, ClosingTheDialogFromItsFrameIsACancel)
{
    mainWindow.show();
    whenDialogOpens([](Form2& dialog) { dialog.close(); });
    const FileSelectionResult result = selectFile(&mainWindow, dialogs, store, request());
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(store.writes().empty());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(SelectFileTest, ConfirmingAtTheRootStoresTheRoot)
{
    store.write(kDirectoriesSection, kDefaultInPicKey, "/");
    store.clearWriteLog();
    whenDialogOpens([](Form2& dialog) {
        typeInto(dialog.Text1, QStringLiteral("card.bmp"));
        pressEnter(dialog.Text1);
    });
    const FileSelectionResult result = selectFile(&mainWindow, dialogs, store, request());
    EXPECT_EQ(result.path, "/card.bmp");
    EXPECT_EQ(result.folder, "/");
    EXPECT_EQ(store.writes(), (std::vector<SettingsWrite>{{"Directories", "DefaultInPIC", "/"}}));
}

TEST_F(SelectFileTest, ClosingMainWindowEndsTheWaitWithoutStoring)
{
    mainWindow.show();
    bool closing = false;
    whenDialogOpens([&](Form2&) { closing = true; });
    const FileSelectionResult result =
        selectFile(&mainWindow, dialogs, store, request(), [&] { return closing; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(store.writes().empty());
    EXPECT_TRUE(mainWindow.isHidden());
}

TEST_F(SelectFileTest, AudioFileBoxOpensNarrowAtHomeWhenNoFolderIsStored)
{
    whenDialogOpens([&](Form2& dialog) {
        EXPECT_EQ(dialog.folderListPath(), QDir::cleanPath(QDir::homePath()));
        EXPECT_EQ(dialog.width(), 433);
        dialog.Command2->click();
    });
    EXPECT_TRUE(selectFile(nullptr, dialogs, store, audioFileRequest()).cancelled);
}
