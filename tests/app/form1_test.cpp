// The main window driven through its real widgets on the offscreen platform.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "picture/picture_view.h"
#include "support/window_test.h"

using namespace tonobild;

using Form1Test = testdata::WindowTest;

// The Sync Level read-out follows its scroll bar, also for a screen reader; an
// emptied audio name is the default at once.
TEST_F(Form1Test, SyncLevelReadOutFollowsItsScrollBarAndAnEmptiedAudioNameIsTheDefault)
{
    Form1 window(dialogs, store);
    EXPECT_EQ(window.Label10->text(), "-32");
    window.VScroll1->setValue(12);
    EXPECT_EQ(window.Label10->text(), "12");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Label10)->text(QAccessible::Description), "12");
    window.VScroll1->setValue(-100);
    EXPECT_EQ(window.Label10->text(), "-64");
    window.Text2->setText("/tmp/other.wav");
    window.Text2->clear();
    EXPECT_EQ(window.Text2->text(), QDir::homePath() + "/TONOBILD.WAV");
}

TEST_F(Form1Test, FirstStartAsksForTheTestCardsAndOpensInFm)
{
    dialogs.answers.push_back(folder.path());
    auto window = startWindow();
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions.front(), "Testcard location|Please enter the directory where the testcards are "
                                         "located\r\nPlease Leave Blank to not display");
    EXPECT_EQ(store.read("Directories", "Test Pattern", "?"), folder.path().toStdString() + "/");
    EXPECT_EQ(store.read("Settings", "Default Mode", "?"), "15");
    EXPECT_TRUE(window->Option15->isChecked());
    EXPECT_EQ(window->Label12->text(), "~26 Secs"); // the FM preset's durations are shown
    EXPECT_EQ(window->workingPicture().width(), 160);
    EXPECT_EQ(window->workingPicture().height(), 120);
    EXPECT_TRUE(dialogs.messages.empty());

    // The answer was kept: the next start does not ask again.
    dialogs.questions.clear();
    auto second = startWindow();
    EXPECT_TRUE(dialogs.questions.isEmpty());
}

TEST_F(Form1Test, HSyncInterlockWorksBothWays)
{
    Form1 window(dialogs, store);
    window.Check1->setChecked(false);
    EXPECT_FALSE(window.Check3->isEnabled());
    EXPECT_FALSE(window.Check5->isEnabled());
    EXPECT_TRUE(window.Check3->isChecked()); // a disabled box keeps its tick
    EXPECT_TRUE(window.Check5->isChecked());

    window.Check3->setChecked(false);
    window.Check1->setChecked(true);
    EXPECT_TRUE(window.Check3->isEnabled());
    EXPECT_FALSE(window.Check5->isEnabled()); // Use LIC is unticked
    window.Check3->setChecked(true);
    EXPECT_TRUE(window.Check5->isEnabled());
}

TEST_F(Form1Test, EncodeWritesBothFilesAndReportsEncoded)
{
    Form1 window(dialogs, store);
    const QString wav = folder.filePath("t.WAV");
    window.Text2->setText(wav);
    window.Command1->click();
    ASSERT_EQ(dialogs.messageTexts(), QStringList{"Encoded"});
    EXPECT_EQ(std::filesystem::file_size(folder.filePath("t.RAW").toStdString()), 286168u);
    EXPECT_EQ(std::filesystem::file_size(wav.toStdString()), 286168u + 44u);
    EXPECT_EQ(window.Label9->text(), "7"); // 71542 groups: progress after every 10001
    // The 7th progress point, group 70007 of 71542, is 97.9 % through three passes of 120
    // lines and their syncs: line 111 of the red pass.
    EXPECT_EQ(window.passProgress->accessibleDescription(), "line 111 of 120, pass red");
    EXPECT_EQ(window.passProgress->value(), 2 * 120 + 111);
    for (QPushButton* command : {window.Command1, window.Command2, window.Command7, window.Command8})
        EXPECT_TRUE(command->isEnabled());

    // With the box ticked a third file: every sample held four times at 44100.
    EXPECT_FALSE(QFile::exists(folder.filePath("t-player.WAV")));
    window.playerWavBox->setChecked(true);
    window.Command1->click();
    EXPECT_EQ(std::filesystem::file_size(folder.filePath("t-player.WAV").toStdString()), 44u + 4u * 286168u);
    EXPECT_EQ(std::filesystem::file_size(wav.toStdString()), 286168u + 44u);
}

TEST_F(Form1Test, EncodeWithoutResolutionOrWithABadNameWritesNothing)
{
    Form1 window(dialogs, store);
    Form1::setOption(window.Option1, false);
    window.Text2->setText(folder.filePath("t.WAV"));
    window.Command1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("No resolution is selected"));
    EXPECT_FALSE(QFile::exists(folder.filePath("t.RAW")));

    window.Option1->setChecked(true);
    window.Text2->setText(folder.filePath("missing/t.WAV"));
    window.Command1->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[1].text.contains("missing/t.RAW"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("No such file or directory"));
    EXPECT_TRUE(window.Command1->isEnabled());
}

TEST_F(Form1Test, ClosingDuringEncodeStopsItAndKeepsTheOldWav)
{
    Form1 window(dialogs, store);
    window.Option3->setChecked(true);
    const QString wav = folder.filePath("t.WAV");
    std::ofstream(wav.toStdString()) << "previous transmission";
    window.Text2->setText(wav);
    bool ended = false;
    QObject::connect(&window, &Form1::programEnding, [&] { ended = true; });
    QTimer::singleShot(0, &window, [&] { window.close(); });
    window.show();
    window.Command1->click();
    EXPECT_TRUE(ended);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(testdata::readText(wav.toStdString()), "previous transmission");
    EXPECT_FALSE(QFile::exists(folder.filePath("t.RAW")));
}

TEST_F(Form1Test, EveryShownControlIsReachableByAScreenReader)
{
    Form1 window(dialogs, store);
    window.show();
    const QRegularExpression designName("^(Command|Check|Option|Text|Label|VScroll|Picture|Image)\\d+$|^verno$");
    int checked = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!designName.match(control->objectName()).hasMatch() || !control->isVisibleTo(&window))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr) << control->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control->objectName().toStdString();
        EXPECT_NE(accessible->role(), QAccessible::NoRole) << control->objectName().toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 75); // every named control but the hidden ones
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Command1)->role(), QAccessible::Button);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Check1)->role(), QAccessible::CheckBox);
}

TEST_F(Form1Test, MainCommandsAnswerTheirKeys)
{
    Form1 window(dialogs, store);
    window.show();
    QApplication::setActiveWindow(&window);
    window.Text2->setText(folder.filePath("k.wav"));
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    // The shortcut presses the button visibly before it clicks.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }, 10000));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Encoded"});
    EXPECT_TRUE(QFile::exists(folder.filePath("k.RAW")));
}

// "Record" and "Play" start the recorder program named in the settings store;
// what the recorder receives is shown by the launcher's own tests.
TEST_F(Form1Test, RecorderFailuresAreReportedAndTheButtonsStayEnabled)
{
    store.write("Settings", "Recorder", folder.filePath("no-such-recorder").toStdString());
    Form1 window(dialogs, store);
    window.Text2->setText(folder.filePath("missing/folder/x.wav"));
    window.Command7->click();
    window.Text2->setText(folder.filePath("x.wav"));
    window.Command8->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("missing/folder/x.wav"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("no-such-recorder"));
    for (QPushButton* command : {window.Command1, window.Command2, window.Command7, window.Command8})
        EXPECT_TRUE(command->isEnabled());
}
