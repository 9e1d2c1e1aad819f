// The main window driven through its real widgets on the offscreen platform:
// encoding, decoding, the signature dialog, the mode presets, the duration
// estimates, the first-time guide and the whole road from a test card to a
// received signed picture.
#include <QAccessible>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

#include "picture/picture_view.h"
#include "picture/test_cards.h"
#include "support/window_test.h"

using namespace tonobild;
using namespace tonobild::testdata;

using Form1Test = WindowTest;
// The signed reference stream, decoded with the controls as the window opens, before a
// mode preset changes them.
using Form1DecodeTest = DecodingWindowTest;

// Encode by key writes the files and says "Encoded" (by button: the road); closing the window
// during an encode stops it silently and keeps the old files. (Encode's refusals are
// Form1DecodeTest.ACommandThatCannotGoOnSaysWhyAndChangesNothing's.)
TEST_F(Form1Test, EncodeByKeyWritesTheFilesAndClosingDuringAnEncodeKeepsTheOldWav)
{
    Form1 window(dialogs, store);
    const QString wav = folder.filePath("t.WAV");
    text(window, 2)->setText(wav);
    // With the box ticked a third file: every sample held four times at 44100. Ctrl+E presses
    // the button visibly before it clicks.
    control<QCheckBox>(window, "playerWavBox")->setChecked(true);
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.messages == QStringList{"Encoded"}; }, 10000));
    EXPECT_EQ(std::filesystem::file_size(folder.filePath("t.RAW").toStdString()), 286168u);
    EXPECT_EQ(std::filesystem::file_size(folder.filePath("t-player.WAV").toStdString()), 44u + 4u * 286168u);
    EXPECT_EQ(label(window, 9)->text(), "7"); // 71542 groups: progress after every 10001
    // The 7th progress point, group 70007 of 71542, is 97.9 % through three passes of 120
    // lines and their syncs: line 111 of the red pass.
    EXPECT_EQ(control<QProgressBar>(window, "passProgress")->accessibleDescription(), "line 111 of 120, pass red");

    std::ofstream(wav.toStdString()) << "previous transmission";
    bool ended = false;
    QObject::connect(&window, &Form1::programEnding, [&] { ended = true; });
    QTimer::singleShot(0, &window, [&] { window.close(); });
    command(window, 1)->click();
    EXPECT_TRUE(ended);
    EXPECT_EQ(dialogs.messages.size(), 1); // "Encoded" of the first encode only
    EXPECT_EQ(readText(wav.toStdString()), "previous transmission");
}

// The Sync Level read-out follows its scroll bar, also for a screen reader; the HSync interlock
// works both ways; the NR method and the time reduction recaption the resolutions and durations
// (their texts: NrMethod and Timecalc). Every shown control has a name for a screen reader.
// Then Save and Reset without a mode say so and write nothing; a store that cannot be written is
// reported once, over start-up, a mode button and Save, and the window goes on. Then a saved
// preset comes back after another mode, and an emptied audio file name is the default at once.
// What CB selects and how Reset keeps it is PresetControls' case CbInterlock; here the window's lock.
TEST_F(Form1Test, ControlsFollowEachOtherAndHaveNamesAndModePresetsComeBackOrSayWhyNot)
{
    // Every one of the 36 preset values as the window shows them.
    const auto presetValues = [](Form1& window) {
        std::vector<QString> values = {text(window, 2)->text(), text(window, 3)->text(), text(window, 4)->text(),
                                       control<QLabel>(window, "signature")->text(),
                                       QString::number(control<QScrollBar>(window, "VScroll2")->value())};
        for (int number : kPresetOptions)
            values.push_back(option(window, number)->isChecked() ? "1" : "0");
        for (int number : kPresetChecks)
            values.push_back(QString::number(checkValue(check(window, number))));
        return values;
    };
    Form1 window(dialogs, store);
    const QRegularExpression designName("^(Command|Check|Option|Text|Label|VScroll|Picture|Image)\\d+$|^verno$");
    QSet<QWidget*> named;
    QStringList unnamed;
    for (QWidget* control : shownInTheirViews(window)) {
        if (!designName.match(control->objectName()).hasMatch() || named.contains(control))
            continue;
        named.insert(control);
        if (QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
            unnamed << control->objectName();
    }
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_EQ(named.size(), 75); // every named control but the hidden ones
    control<QScrollBar>(window, "VScroll1")->setValue(12);
    EXPECT_EQ(label(window, 10)->text(), "12");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label(window, 10))->text(QAccessible::Description), "12");

    check(window, 1)->setChecked(false);
    EXPECT_EQ(states({check(window, 3), check(window, 5)}), "on-greyed on-greyed"); // a greyed box keeps its tick
    check(window, 3)->setChecked(false);
    check(window, 1)->setChecked(true);
    EXPECT_EQ(states({check(window, 3), check(window, 5)}), "off on-greyed"); // Use LIC is unticked
    check(window, 3)->setChecked(true);
    EXPECT_EQ(states({check(window, 3), check(window, 5)}), "on on");

    option(window, 4)->setChecked(true);
    EXPECT_EQ(states({check(window, 1), check(window, 3)}), "off-greyed on-greyed"); // the HSync interlock ran
    option(window, 9)->setChecked(true);
    EXPECT_EQ(option(window, 2)->accessibleName(), "320x240 (~20 Seconds)");
    check(window, 7)->setChecked(true);
    EXPECT_EQ(label(window, 12)->text(), "~19 Secs"); // "R+B HalfX" reaches the estimate as itself, not as "Half X"

    command(window, 13)->click();
    command(window, 15)->click();
    ASSERT_EQ(dialogs.messages, (QStringList{"No mode selected", "No mode selected"}));

    store.failWrites("Permission denied");
    window.Form_Load();
    option(window, 25)->click(); // HAM
    command(window, 13)->click();
    EXPECT_EQ(dialogs.messages.filter("Permission denied").size(), 1); // reported once

    store.failWrites("");
    for (QLineEdit* box : {text(window, 2), text(window, 3), text(window, 4)})
        box->setText("/tmp/" + box->objectName());
    window.setSignatureText(" AKLM456");
    for (int number : {2, 7, 9, 11, 13, 21, 5})
        option(window, number)->setChecked(true);
    for (int number : {1, 3, 4, 5, 8, 9})
        setCheckValue(check(window, number), 1);
    setCheckValue(check(window, 10), 2);
    const auto saved = presetValues(window);
    command(window, 13)->click();

    option(window, 26)->click(); // TAPE, never saved: everything is cleared, the audio name to the default
    EXPECT_EQ(text(window, 2)->text(), defaultAudioFileName());

    option(window, 25)->click();
    EXPECT_EQ(presetValues(window), saved);
    EXPECT_EQ(dialogs.messages.size(), 3); // the two refusals and the store's: nothing more said

    option(window, 16)->click();
    EXPECT_EQ(states({option(window, 1), check(window, 2)}), "on-greyed on-greyed");
    option(window, 15)->click(); // FM, never saved
    EXPECT_EQ(states({option(window, 1), check(window, 2)}), "off off");
}

// The whole road: the first start asks for the test cards; the guide; a test card chosen by
// its thumbnail; a signature; Encode, Decode, the read-out; the signature's room of the
// moment; the next start does not ask and opens in the mode used last.
TEST_F(Form1Test, WholeRoadFromTheFirstStartToAReceivedSignedPictureAndTheNextStartInTheModeUsedLast)
{
    dialogs.answers.push_back(installedTestCardFolder());
    auto window = std::make_unique<Form1>(dialogs, store);
    window->Form_Load();
    ASSERT_EQ(dialogs.questions, 1);
    EXPECT_EQ(store.read("Directories", "Test Pattern", "?"), installedTestCardFolder().toStdString() + "/");

    // The guide sets checks on and off, options and the Sync Level, whatever was set before.
    window->show();
    check(*window, 1)->setChecked(false);
    check(*window, 8)->setChecked(true);
    control<QScrollBar>(*window, "VScroll1")->setValue(10);
    command(*window, 22)->click();
    EXPECT_EQ(states({check(*window, 1), check(*window, 8), option(*window, 7)}), "on off on");
    EXPECT_EQ(label(*window, 10)->text(), "-32");
    ASSERT_EQ(dialogs.messages.size(), 2); // "Configured", then the instructions

    // The signature dialog hides the window until "Set Signature".
    command(*window, 19)->click();
    EXPECT_FALSE(window->isVisible());
    QWidget* form3 = topLevel("Form3");
    ASSERT_NE(form3, nullptr);
    form3->findChild<QLineEdit*>("Text1")->setText("DL1ABC");
    form3->findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(window->isVisible());

    // The first card in name order is BARS160.BMP, 160 x 120.
    QTest::mouseClick(control<PictureView>(*window, "Image2"), Qt::LeftButton);
    const WorkingPicture card = pictureOf(QDir(installedTestCardFolder()).filePath("BARS160.BMP"));
    const WorkingPicture sent = window->workingPicture();
    text(*window, 2)->setText(folder.filePath("road.wav"));
    command(*window, 1)->click();
    EXPECT_FALSE(QFile::exists(folder.filePath("road-player.wav"))); // without the box no third file
    command(*window, 2)->click();
    EXPECT_EQ(label(*window, 15)->text(), "Class of transmitter: Amateur\r\nIdentification: DL1ABC");

    // With "Half X" every second column travels: group k comes back at columns 2k and 2k + 1.
    // Rows 2 to 119 come back; the first lines are filed before the lock engages, so rows
    // 2 and 3 lack their blue. Below the signature strip the sent picture is the card.
    const WorkingPicture& received = window->workingPicture();
    for (int y = 4; y < 120; ++y)
        for (int x = 30; x <= 134; x += 2)
            ASSERT_EQ(received.colour(x, y), (y < 10 ? sent : card).colour(x, y)) << x << "," << y;

    // The room follows the transmission settings of the moment the dialog opens; closing the
    // dialog from its frame clears the signature and brings the window back.
    option(*window, 3)->setChecked(true);
    command(*window, 19)->click();
    EXPECT_EQ(form3->findChild<QLabel*>("capacity")->text(),
              "At 640 x 480 with \"Half X\" a receiver reads back 286 characters of the codeword.");
    form3->close();
    QApplication::processEvents();
    EXPECT_EQ(control<QLabel>(*window, "signature")->text(), "");
    EXPECT_TRUE(window->isVisible());

    // The answer was kept: the next start does not ask again, and opens in the mode used last
    // with its preset.
    option(*window, 27)->click();
    window.reset();
    store.write("HIRES", "t3", "/tmp/hires.bmp");
    Form1 second(dialogs, store);
    second.Form_Load();
    EXPECT_EQ(dialogs.questions, 1);
    EXPECT_TRUE(option(second, 27)->isChecked());
    EXPECT_EQ(text(second, 3)->text(), "/tmp/hires.bmp");
}

// Stop ends a decode at the next progress step and still rebuilds; meanwhile the Transmitter
// dialog cannot open, and Listen says why it waits. Whole decodes with identified lines, at level 2
// and with direct placing give their reference pictures; closing ends a decode silently.
TEST_F(Form1DecodeTest, StopEndsADecodeAtTheNextStepDecodesGiveTheirReferencePicturesAndClosingEndsOneSilently)
{
    bool transmitterUsable = true;
    QTimer::singleShot(0, &window, [&] {
        transmitterUsable = control<QPushButton>(window, "transmitterButton")->isEnabled();
        control<QPushButton>(window, "listenButton")->click();
        command(window, 4)->click();
    });
    command(window, 2)->click();
    EXPECT_FALSE(transmitterUsable);
    EXPECT_FALSE(window.findChild<ListenPanel*>()->isListening());
    EXPECT_EQ(control<QLabel>(window, "listenStatus")->text(), "Encode or Decode is running: listen when it has ended.");
    EXPECT_EQ(dialogs.messages, QStringList{"Decoded"});
    EXPECT_EQ(label(window, 9)->text(), "1");
    EXPECT_TRUE(check(window, 5)->isChecked()); // the decode unticked it and ended before the third code

    command(window, 2)->click();
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3.bmp"));
    // A screen reader hears who sent the picture.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label(window, 15))->text(QAccessible::Description),
              "Class of transmitter: Amateur\r\nIdentification: KLM456");
    EXPECT_EQ(control<PictureView>(window, "Image1")->image(), toImage(window.workingPicture()));
    EXPECT_TRUE(check(window, 5)->isChecked()); // re-ticked after the third code
    EXPECT_TRUE(control<QGroupBox>(window, "Frame7")->isVisibleTo(&window) &&
                !control<PictureView>(window, "Picture1")->isVisibleTo(&window));
    EXPECT_EQ(states({command(window, 1), command(window, 2), command(window, 7), command(window, 8)}), "off off off off");

    // Level 2 with the start-up controls takes code digits for syncs: black, and no read-out.
    // (Its 142 progress steps are Decoder.AProgressStepOrRebuildRowAnsweredFalseAbandonsTheDecode's.)
    option(window, 6)->setChecked(true);
    command(window, 2)->click();
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level2-startup.bmp"));
    EXPECT_EQ(label(window, 15)->text(), "");

    // Direct placing: without "Use LIC" and "HSync", with the shifts of a click on the picture.
    option(window, 7)->setChecked(true);
    check(window, 3)->setChecked(false);
    check(window, 1)->setChecked(false);
    window.Picture1_MouseUp(Qt::LeftButton, 21, 86);
    command(window, 3)->click(); // "Res detect" runs the same decode
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3-direct-x21-y86.bmp"));

    QTimer::singleShot(0, &window, [&] { window.close(); });
    command(window, 2)->click();
    EXPECT_EQ(dialogs.messages, QStringList(4, "Decoded")); // the closed decode said nothing
    EXPECT_EQ(label(window, 9)->text(), "1"); // it ended at the first progress step
}

// A command that cannot go on says why and changes nothing: not the picture, nor "LIC Lock", nor
// any file; the commands stay enabled. Encode into a missing folder or without a resolution;
// Record into a missing folder and Play with no recorder (what the recorder receives is shown by
// the launcher's own tests); Decode of a named pipe or without a level; Load of a missing
// file, of no name or of a named pipe; Save into a missing folder.
TEST_F(Form1DecodeTest, ACommandThatCannotGoOnSaysWhyAndChangesNothing)
{
    const QString pipe = folder.filePath("pipe.wav"); // with no writer: opening it would wait for ever
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    store.write("Settings", "Recorder", "/bin/true"); // found: Record goes on to prepare the file
    const auto typed = [](QLineEdit* box, const QString& text) { return [box, text] { box->setText(text); }; };
    const struct { std::function<void()> spoil; QPushButton* command; QString message; } cases[] = {
        {typed(text(window, 2), folder.filePath("no/t.WAV")), command(window, 1), "no/t.RAW: No such file or directory"},
        {typed(text(window, 2), folder.filePath("missing/folder/x.wav")), command(window, 7), "missing/folder/x.wav"},
        {[&] { store.write("Settings", "Recorder", "/no/such/recorder"); }, command(window, 8), "/no/such/recorder"},
        {typed(text(window, 2), pipe), command(window, 2), pipe + ": it is a named pipe, not a recording file"},
        {[&] { setOption(option(window, 7), false); }, command(window, 2),
         "Choose the Active Normalising level before decoding."},
        {typed(text(window, 4), folder.filePath("missing.bmp")), command(window, 11), "does not exist"},
        {typed(text(window, 4), ""), command(window, 11), "no file name"},
        {typed(text(window, 4), pipe), command(window, 11), "Cannot load the picture " + pipe +
         ": it is a named pipe, not a picture file; save the picture into a file first"},
        {typed(text(window, 3), folder.filePath("no/out.bmp")), command(window, 9), folder.filePath("no/out.bmp")},
        // Last: the set-up does not select a resolution again.
        {[&] {
             text(window, 2)->setText(folder.filePath("t.WAV"));
             setOption(option(window, 1), false);
         },
         command(window, 1), "No resolution is selected"},
    };
    window.workingPicture().clear(kWhite);
    const WorkingPicture before = window.workingPicture();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        SetUp(); // the signed stream at level 3 again
        c.spoil();
        dialogs.messages.clear();
        c.command->click();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].contains(c.message)) << dialogs.messages[0].toStdString();
        EXPECT_EQ(window.workingPicture(), before);
        EXPECT_TRUE(check(window, 5)->isChecked());
        EXPECT_EQ(states({command(window, 1), command(window, 2), command(window, 7), command(window, 8)}),
                  "off off off off");
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("t.RAW")));
}
