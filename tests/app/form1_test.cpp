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
#include <tuple>
#include <fstream>

#include "picture/picture_view.h"
#include "support/window_test.h"

using namespace tonobild;

namespace {

using Form1Test = testdata::WindowTest;

template <typename Control>
Control* find(Form1& window, const char* name)
{
    auto* control = window.findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

} // namespace

TEST_F(Form1Test, ControlsCarryTheirNamesCaptionsAndStartStates)
{
    Form1 window(dialogs, store);
    EXPECT_EQ(window.windowTitle(), "Tonobild 3");
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"Command1", "Encode"}, {"Command2", "Decode"}, {"Command3", "Res detect"}, {"Command4", "STOP"},
        {"Command5", "Reset"}, {"Command6", "Reset"}, {"Command7", "Record"}, {"Command8", "Play"},
        {"Command9", "Save to file"}, {"Command10", "Load from Clipboard"}, {"Command11", "Load from file"},
        {"Command12", "Save to clipboard"}, {"Command13", "Save Settings to selected mode"},
        {"Command14", "Change testcard directory"}, {"Command15", "Reset selected Settings"},
        {"Command16", "-"}, {"Command17", "-"}, {"Command18", "-"}, {"Command19", "Digital Signing options"},
        {"Command20", "Digital Encode"}, {"Command21", "Digital Decode"}, {"Command22", "First - Time Guide"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = find<QPushButton>(window, name);
        EXPECT_EQ(button->text(), caption) << name;
    }
    const std::vector<std::tuple<const char*, const char*, bool>> checks = {
        {"Check1", "HSync", true}, {"Check2", "Half X", false}, {"Check3", "Use LIC", true},
        {"Check4", "Enabled", true}, {"Check5", "LIC Lock", true},
        {"Check6", "Headerless (Encode only setting)", false}, {"Check7", "R+B HalfX", false},
        {"Check8", "Idler", false}, {"Check9", "Compand", false}, {"Check10", "Slow", false},
        {"Check11", "Third", false}};
    for (const auto& [name, caption, ticked] : checks) {
        auto* box = find<QCheckBox>(window, name);
        EXPECT_EQ(box->text(), caption) << name;
        EXPECT_EQ(box->isChecked(), ticked) << name;
    }
    const std::vector<std::tuple<const char*, const char*, bool>> options = {
        {"Option1", "130x110", true}, {"Option2", "290x230", false}, {"Option3", "610x470", false},
        {"Option4", "None", false}, {"Option5", "Active Norm", true}, {"Option6", "Level 2 (Tape)", true},
        {"Option7", "Level 3 (Direct)", false}, {"Option8", "None", true}, {"Option9", "Mono Image", false},
        {"Option10", "Tonobild 1 (None)", true}, {"Option11", "Tonobild 2/3", false}, {"Option12", "+32", false},
        {"Option13", "+8", false}, {"Option14", "+16", true}, {"Option17", "8 (Norm)", false},
        {"Option18", "7", false}, {"Option19", "6", false}, {"Option20", "9", false}, {"Option21", "10", false},
        {"Option22", "1", false}, {"Option23", "5", false}, {"Option24", "4-lock", true}};
    for (const auto& [name, caption, selected] : options) {
        auto* option = find<QRadioButton>(window, name);
        EXPECT_EQ(option->text(), caption) << name;
        EXPECT_EQ(option->isChecked(), selected) << name;
    }
    EXPECT_EQ(window.Label9->text(), "0");
    EXPECT_EQ(window.Label10->text(), "-32");
    EXPECT_EQ(window.VScroll1->value(), -32);
    EXPECT_EQ(window.Label12->text(), "~1 Sec");
    EXPECT_EQ(window.Label4->text(), "0");
    EXPECT_EQ(window.verno->text(), "0");
    EXPECT_TRUE(window.Text2->text().endsWith("/TONOBILD.WAV"));
    EXPECT_TRUE(window.Text3->text().endsWith("/TONOBILD.BMP"));
    EXPECT_TRUE(window.Label8->text().endsWith("then click on \"Save\""));
    EXPECT_EQ(window.Label7->text().indexOf(QString(25, ' ') + "1: Try another"), 58);
    EXPECT_EQ(window.Label6->text(), "The standard transmission resolution is:-");
    for (const char* hidden : {"Command3", "Check6", "Check7", "Option4", "Option9", "Option11"})
        EXPECT_FALSE(find<QWidget>(window, hidden)->isVisibleTo(&window)) << hidden;
    EXPECT_FALSE(window.Picture1->isVisibleTo(&window));

    // Read-outs keep their name for a screen reader and give the value they show.
    const auto description = [](QLabel* label) {
        return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Description);
    };
    for (const auto& [label, name, value] :
         {std::tuple{window.Label4, "XShift", "0"}, std::tuple{window.Label12, "Duration at 160x120", "~1 Sec"},
          std::tuple{window.Label10, "Sync Level value", "-32"}, std::tuple{window.verno, "Version", "0"},
          std::tuple{window.Label9, "Progress", "0"}, std::tuple{window.Label5, "YShift", "0"},
          std::tuple{window.Label14, "Duration at 640x480", "~1 Sec"}}) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), name);
        EXPECT_EQ(description(label), value) << name;
    }
    EXPECT_EQ(window.Picture2->toolTip(), "Black card with a white cross");
    EXPECT_EQ(window.Picture3->toolTip(), "White card");
    EXPECT_TRUE(window.passProgress->format().isEmpty());

    // The Sync Level read-out follows its scroll bar; an emptied audio name is the default at once.
    window.VScroll1->setValue(12);
    EXPECT_EQ(window.Label10->text(), "12");
    EXPECT_EQ(description(window.Label10), "12");
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
    EXPECT_EQ(window->verno->text(), "3.1.13");
    EXPECT_EQ(window->Label12->text(), "~26 Secs");
    EXPECT_EQ(window->Label13->text(), "~89 Secs");
    EXPECT_EQ(window->Label14->text(), "~341 Secs");
    // The empty FM preset deselects every option and clears the preset's check boxes.
    EXPECT_FALSE(window->Option1->isChecked());
    EXPECT_FALSE(window->Check1->isChecked());
    EXPECT_TRUE(window->Text2->text().endsWith("/TONOBILD.WAV"));
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

TEST_F(Form1Test, ResolutionChangeKeepsTheTopLeftPixels)
{
    Form1 window(dialogs, store);
    window.Option3->setChecked(true);
    WorkingPicture& picture = window.workingPicture();
    ASSERT_EQ(picture.width(), 640);
    picture.setColour(159, 119, colourNumber(200, 100, 0));
    picture.setColour(160, 119, kWhite);
    window.Option1->setChecked(true);
    EXPECT_EQ(picture.width(), 160);
    window.Option3->setChecked(true);
    EXPECT_EQ(picture.height(), 480);
    EXPECT_EQ(picture.colour(159, 119), colourNumber(200, 100, 0));
    EXPECT_EQ(picture.colour(160, 119), kBlack);
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
    const auto bytes = testdata::readBytes(wav.toStdString());
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "previous transmission");
    EXPECT_FALSE(QFile::exists(folder.filePath("t.RAW")));
}

// Each mode button faces its own phrase of the legend and is named after its mode.
TEST_F(Form1Test, EachModeButtonStandsBesideItsPhraseOfTheLegend)
{
    Form1 window(dialogs, store);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const struct {
        const char* button;
        const char* mode;
        const char* phrase;
    } modes[] = {
        {"Option15", "FM mode", "160x120 for FM radio transmission, otherwise verbally specified,"},
        {"Option16", "CB mode", "80x120 for CB radio. CQ Channel 33 only, Only legal resolution,"},
        {"Option25", "HAM mode", "320x240 or 160x120-Ham. Res Verbally specified,-27.260MHz FM"},
        {"Option26", "TAPE mode", "160x120 for Picture Tapes,"},
        {"Option27", "HIRES mode", "640x480 for High resolution transmissions."},
    };
    int previousBottom = window.Label6->mapTo(&window, QPoint(0, window.Label6->height())).y();
    for (const auto& m : modes) {
        auto* button = find<QRadioButton>(window, m.button);
        auto* legend = find<QLabel>(window, (std::string(m.button) + "Legend").c_str());
        EXPECT_EQ(button->accessibleName(), m.mode);
        EXPECT_EQ(button->toolTip(), m.mode);
        EXPECT_EQ(button->accessibleDescription(), m.phrase);
        EXPECT_EQ(legend->text(), m.phrase);
        const QRect buttonBox(button->mapTo(&window, QPoint()), button->size());
        const QRect legendBox(legend->mapTo(&window, QPoint()), legend->size());
        EXPECT_LT(buttonBox.right(), legendBox.left()) << m.button;
        EXPECT_TRUE(legendBox.top() <= buttonBox.center().y() && buttonBox.center().y() <= legendBox.bottom())
            << m.button << ": the button's middle is not beside its phrase";
        EXPECT_GE(legendBox.top(), previousBottom) << m.button << " overlaps the phrase above";
        previousBottom = legendBox.bottom();
    }
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
