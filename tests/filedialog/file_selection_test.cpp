// The dialog "File Selection" and the caller's wait, driven through real widgets
// on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "filedialog/file_selection.h"
#include "filedialog/file_selection_dialog.h"
#include "picture/picture_view.h"
#include "settings/memory_settings_store.h"
#include "settings/mode_presets.h"
#include "support/fake_dialogs.h"
#include "support/picture_data.h"

using namespace tonobild;

namespace {

QStringList entries(const QListWidget* list, int role = Qt::DisplayRole)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->data(role).toString();
    return names;
}

class FileSelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        for (const auto& [name, width] : {std::pair{"b.bmp", 16}, std::pair{"C.BMP", 32}, std::pair{"a.bmp", 8}})
            testdata::writeCard(folder + '/' + name, width, width * 3 / 4, qRgb(0, 128, 128), "BMP");
        for (const char* name : {"x.WAV", "notes.txt"})
            testdata::writeBytes(folder + '/' + name, {});
        QDir(folder).mkpath(QStringLiteral("folder.bmp"));
        mainWindow.show();
    }

    // Runs `action` on the dialog once the caller's wait has shown it, then waits.
    FileSelectionResult select(std::function<void(Form2&)> action, const ClosingCheck& closing = {})
    {
        QTimer::singleShot(0, [action] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<Form2*>(widget); dialog != nullptr && dialog->isVisible())
                    return action(*dialog);
            ADD_FAILURE() << "no open file selection dialog";
        });
        return selectFile(&mainWindow, dialogs, store, {kDefaultInPicKey, QStringLiteral(".BMP"), folder}, closing);
    }

    testdata::FakeDialogs dialogs;
    QTemporaryDir scratch;
    QString folder = QDir::cleanPath(scratch.path());
    MemorySettingsStore store;
    QWidget mainWindow;
};

} // namespace

TEST_F(FileSelectionTest, ListsTheExtensionInLowerCaseAnswersTheFileSystemSpellingAndGoesHome)
{
    Form2 dialog(dialogs);
    // No preview for sound files.
    dialog.setExtension(QStringLiteral(".WAV"));
    dialog.setFolder(folder);
    EXPECT_EQ(std::tuple(dialog.Image1->isHidden(), entries(dialog.List1), entries(dialog.List1, Qt::UserRole)),
              std::tuple(true, QStringList{"x.wav"}, QStringList{"x.WAV"}));

    dialog.setExtension(QStringLiteral(".BMP"));
    EXPECT_FALSE(dialog.Image1->isHidden());
    dialog.setFolder(folder);
    EXPECT_EQ(entries(dialog.List1), (QStringList{"a.bmp", "b.bmp", "c.bmp"}));
    const auto clicked = dialog.List1->findItems(QStringLiteral("c.bmp"), Qt::MatchExactly);
    ASSERT_EQ(clicked.size(), 1);
    QTest::mouseClick(dialog.List1->viewport(), Qt::LeftButton, {}, dialog.List1->visualItemRect(clicked[0]).center());
    EXPECT_EQ(dialog.Text1->text(), "c.bmp");
    EXPECT_EQ(dialog.Image1->image().size(), QSize(32, 24));
    dialog.Command1->click();
    EXPECT_EQ(dialog.result(), folder + "/C.BMP");

    // The whole folder in the tool tip, however narrow the label; home is one click away.
    dialog.setFolder(folder + "/folder.bmp");
    EXPECT_EQ(dialog.LookIn->toolTip(), folder + "/folder.bmp");
    dialog.homeButton->click();
    EXPECT_EQ(dialog.folder(), QDir::homePath() + "/");
    EXPECT_EQ(dialog.LookIn->toolTip(), QDir::homePath());
}

// A folder other than the root is stored without its separator
// (Form1PictureTest.ChangeTestcardDirectoryAndBrowseForTheInputPictureConfirmedAndCancelled).
TEST_F(FileSelectionTest, EnterConfirmsBehindTheHiddenMainWindowAndTheRootIsStoredAsItself)
{
    store.write(kDirectoriesSection, kDefaultInPicKey, "/");
    store.clearWriteLog();
    bool mainWindowHidden = false;
    const FileSelectionResult typed = select([&](Form2& dialog) {
        mainWindowHidden = mainWindow.isHidden();
        EXPECT_EQ(dialog.folder(), "/");
        QTest::keyClicks(dialog.Text1, QStringLiteral("New Card.BMP"));
        QTest::keyClick(dialog.Text1, Qt::Key_Return);
    });
    // Hidden while the dialog was open, shown again after it.
    EXPECT_EQ(std::tuple(mainWindowHidden, mainWindow.isVisible(), typed.cancelled, typed.path),
              std::tuple(true, true, false, QString("/New Card.BMP")));
    EXPECT_EQ(store.writes(), (std::vector<SettingsWrite>{{"Directories", "DefaultInPIC", "/"}}));
}

TEST_F(FileSelectionTest, EmptyOkAsksForANameThenCancelClosingTheFrameOrTheMainWindowStoresNothing)
{
    for (const bool fromTheFrame : {false, true}) {
        const FileSelectionResult result = select([&](Form2& dialog) {
            dialog.Command1->click();
            EXPECT_TRUE(dialog.isVisible());
            fromTheFrame ? void(dialog.close()) : dialog.Command2->click();
        });
        EXPECT_EQ(std::pair(result.cancelled, result.path), std::pair(true, QString("CANCEL")));
    }
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(std::pair(dialogs.messages[0].title, dialogs.messages[0].text),
              std::pair(QString("No file selected"), QString("No file selected. Select a file, or click on cancel")));
    EXPECT_TRUE(store.writes().empty() && mainWindow.isVisible());

    // Closing the main window ends the wait without storing.
    bool closing = false;
    EXPECT_TRUE(select([&](Form2&) { closing = true; }, [&] { return closing; }).cancelled);
    EXPECT_TRUE(store.writes().empty() && mainWindow.isHidden());
}
