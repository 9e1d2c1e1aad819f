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
    window.Text2->setText(wav);
    // With the box ticked a third file: every sample held four times at 44100. Ctrl+E presses
    // the button visibly before it clicks.
    window.playerWavBox->setChecked(true);
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.messages == QStringList{"Encoded"}; }, 10000));
    EXPECT_EQ(std::filesystem::file_size(folder.filePath("t.RAW").toStdString()), 286168u);
    EXPECT_EQ(std::filesystem::file_size(folder.filePath("t-player.WAV").toStdString()), 44u + 4u * 286168u);
    EXPECT_EQ(window.Label9->text(), "7"); // 71542 groups: progress after every 10001
    // The 7th progress point, group 70007 of 71542, is 97.9 % through three passes of 120
    // lines and their syncs: line 111 of the red pass.
    EXPECT_EQ(window.passProgress->accessibleDescription(), "line 111 of 120, pass red");

    std::ofstream(wav.toStdString()) << "previous transmission";
    bool ended = false;
    QObject::connect(&window, &Form1::programEnding, [&] { ended = true; });
    QTimer::singleShot(0, &window, [&] { window.close(); });
    window.Command1->click();
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
        std::vector<QString> values = {window.Text2->text(), window.Text3->text(), window.Text4->text(),
                                       window.signature->text(), QString::number(window.VScroll2->value())};
        for (int number : kPresetOptions)
            values.push_back(window.option(number)->isChecked() ? "1" : "0");
        for (int number : kPresetChecks)
            values.push_back(QString::number(Form1::checkValue(window.check(number))));
        return values;
    };
    Form1 window(dialogs, store);
    const QRegularExpression designName("^(Command|Check|Option|Text|Label|VScroll|Picture|Image)\\d+$|^verno$");
    int named = 0;
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!designName.match(control->objectName()).hasMatch() || !control->isVisibleTo(&window))
            continue;
        ++named;
        if (QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
            unnamed << control->objectName();
    }
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_EQ(named, 75); // every named control but the hidden ones
    window.VScroll1->setValue(12);
    EXPECT_EQ(window.Label10->text(), "12");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Label10)->text(QAccessible::Description), "12");

    window.Check1->setChecked(false);
    EXPECT_EQ(states({window.Check3, window.Check5}), "on-greyed on-greyed"); // a greyed box keeps its tick
    window.Check3->setChecked(false);
    window.Check1->setChecked(true);
    EXPECT_EQ(states({window.Check3, window.Check5}), "off on-greyed"); // Use LIC is unticked
    window.Check3->setChecked(true);
    EXPECT_EQ(states({window.Check3, window.Check5}), "on on");

    window.Option4->setChecked(true);
    EXPECT_EQ(states({window.Check1, window.Check3}), "off-greyed on-greyed"); // the HSync interlock ran
    window.Option9->setChecked(true);
    EXPECT_EQ(window.Option2->accessibleName(), "320x240 (~20 Seconds)");
    window.Check7->setChecked(true);
    EXPECT_EQ(window.Label12->text(), "~19 Secs"); // "R+B HalfX" reaches the estimate as itself, not as "Half X"

    window.Command13->click();
    window.Command15->click();
    ASSERT_EQ(dialogs.messages, (QStringList{"No mode selected", "No mode selected"}));

    store.failWrites("Permission denied");
    window.Form_Load();
    window.Option25->click(); // HAM
    window.Command13->click();
    EXPECT_EQ(dialogs.messages.filter("Permission denied").size(), 1); // reported once

    store.failWrites("");
    for (QLineEdit* box : {window.Text2, window.Text3, window.Text4})
        box->setText("/tmp/" + box->objectName());
    window.setSignatureText(" AKLM456");
    for (int number : {2, 7, 9, 11, 13, 21, 5})
        window.option(number)->setChecked(true);
    for (int number : {1, 3, 4, 5, 8, 9})
        Form1::setCheckValue(window.check(number), 1);
    Form1::setCheckValue(window.Check10, 2);
    const auto saved = presetValues(window);
    window.Command13->click();

    window.Option26->click(); // TAPE, never saved: everything is cleared, the audio name to the default
    EXPECT_EQ(window.Text2->text(), defaultAudioFileName());

    window.Option25->click();
    EXPECT_EQ(presetValues(window), saved);
    EXPECT_EQ(dialogs.messages.size(), 3); // the two refusals and the store's: nothing more said

    window.Option16->click();
    EXPECT_EQ(states({window.Option1, window.Check2}), "on-greyed on-greyed");
    window.Option15->click(); // FM, never saved
    EXPECT_EQ(states({window.Option1, window.Check2}), "off off");
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
    window->Check1->setChecked(false);
    window->Check8->setChecked(true);
    window->VScroll1->setValue(10);
    window->Command22->click();
    EXPECT_EQ(states({window->Check1, window->Check8, window->Option7}), "on off on");
    EXPECT_EQ(window->Label10->text(), "-32");
    ASSERT_EQ(dialogs.messages.size(), 2); // "Configured", then the instructions

    // The signature dialog hides the window until "Set Signature".
    window->Command19->click();
    EXPECT_FALSE(window->isVisible());
    QWidget* form3 = topLevel("Form3");
    ASSERT_NE(form3, nullptr);
    form3->findChild<QLineEdit*>("Text1")->setText("DL1ABC");
    form3->findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(window->isVisible());

    // The first card in name order is BARS160.BMP, 160 x 120.
    QTest::mouseClick(window->Image2, Qt::LeftButton);
    const WorkingPicture card = pictureOf(QDir(installedTestCardFolder()).filePath("BARS160.BMP"));
    const WorkingPicture sent = window->workingPicture();
    window->Text2->setText(folder.filePath("road.wav"));
    window->Command1->click();
    EXPECT_FALSE(QFile::exists(folder.filePath("road-player.wav"))); // without the box no third file
    window->Command2->click();
    EXPECT_EQ(window->Label15->text(), "Class of transmitter: Amateur\r\nIdentification: DL1ABC");

    // With "Half X" every second column travels: group k comes back at columns 2k and 2k + 1.
    // Rows 2 to 119 come back; the first lines are filed before the lock engages, so rows
    // 2 and 3 lack their blue. Below the signature strip the sent picture is the card.
    const WorkingPicture& received = window->workingPicture();
    for (int y = 4; y < 120; ++y)
        for (int x = 30; x <= 134; x += 2)
            ASSERT_EQ(received.colour(x, y), (y < 10 ? sent : card).colour(x, y)) << x << "," << y;

    // The room follows the transmission settings of the moment the dialog opens; closing the
    // dialog from its frame clears the signature and brings the window back.
    window->Option3->setChecked(true);
    window->Command19->click();
    EXPECT_EQ(form3->findChild<QLabel*>("capacity")->text(),
              "At 640 x 480 with \"Half X\" a receiver reads back 286 characters of the codeword.");
    form3->close();
    QApplication::processEvents();
    EXPECT_EQ(window->signature->text(), "");
    EXPECT_TRUE(window->isVisible());

    // The answer was kept: the next start does not ask again, and opens in the mode used last
    // with its preset.
    window->Option27->click();
    window.reset();
    store.write("HIRES", "t3", "/tmp/hires.bmp");
    Form1 second(dialogs, store);
    second.Form_Load();
    EXPECT_EQ(dialogs.questions, 1);
    EXPECT_TRUE(second.Option27->isChecked());
    EXPECT_EQ(second.Text3->text(), "/tmp/hires.bmp");
}

// Stop ends a decode at the next progress step and still rebuilds; meanwhile the Transmitter
// dialog cannot open, and Listen says why it waits. Whole decodes with identified lines, at level 2
// and with direct placing give their reference pictures; closing ends a decode silently.
TEST_F(Form1DecodeTest, StopEndsADecodeAtTheNextStepDecodesGiveTheirReferencePicturesAndClosingEndsOneSilently)
{
    bool transmitterUsable = true;
    QTimer::singleShot(0, &window, [&] {
        transmitterUsable = window.transmitterButton->isEnabled();
        control<QPushButton>(window, "listenButton")->click();
        window.Command4->click();
    });
    window.Command2->click();
    EXPECT_FALSE(transmitterUsable);
    EXPECT_FALSE(window.listenPanel->isListening());
    EXPECT_EQ(control<QLabel>(window, "listenStatus")->text(), "Encode or Decode is running: listen when it has ended.");
    EXPECT_EQ(dialogs.messages, QStringList{"Decoded"});
    EXPECT_EQ(window.Label9->text(), "1");
    EXPECT_TRUE(window.Check5->isChecked()); // the decode unticked it and ended before the third code

    window.Command2->click();
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3.bmp"));
    // A screen reader hears who sent the picture.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Label15)->text(QAccessible::Description),
              "Class of transmitter: Amateur\r\nIdentification: KLM456");
    EXPECT_EQ(window.Image1->image(), toImage(window.workingPicture()));
    EXPECT_TRUE(window.Check5->isChecked()); // re-ticked after the third code
    EXPECT_TRUE(window.Frame7->isVisibleTo(&window) && !window.Picture1->isVisibleTo(&window));
    EXPECT_EQ(states({window.Command1, window.Command2, window.Command7, window.Command8}), "off off off off");

    // Level 2 with the start-up controls takes code digits for syncs: black, and no read-out.
    // (Its 142 progress steps are Decoder.AProgressStepOrRebuildRowAnsweredFalseAbandonsTheDecode's.)
    window.Option6->setChecked(true);
    window.Command2->click();
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level2-startup.bmp"));
    EXPECT_EQ(window.Label15->text(), "");

    // Direct placing: without "Use LIC" and "HSync", with the shifts of a click on the picture.
    window.Option7->setChecked(true);
    window.Check3->setChecked(false);
    window.Check1->setChecked(false);
    window.Picture1_MouseUp(Qt::LeftButton, 21, 86);
    window.Command3->click(); // "Res detect" runs the same decode
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3-direct-x21-y86.bmp"));

    QTimer::singleShot(0, &window, [&] { window.close(); });
    window.Command2->click();
    EXPECT_EQ(dialogs.messages, QStringList(4, "Decoded")); // the closed decode said nothing
    EXPECT_EQ(window.Label9->text(), "1"); // it ended at the first progress step
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
        {typed(window.Text2, folder.filePath("no/t.WAV")), window.Command1, "no/t.RAW: No such file or directory"},
        {typed(window.Text2, folder.filePath("missing/folder/x.wav")), window.Command7, "missing/folder/x.wav"},
        {[&] { store.write("Settings", "Recorder", "/no/such/recorder"); }, window.Command8, "/no/such/recorder"},
        {typed(window.Text2, pipe), window.Command2, pipe + ": it is a named pipe, not a recording file"},
        {[&] { Form1::setOption(window.Option7, false); }, window.Command2,
         "Choose the Active Normalising level before decoding."},
        {typed(window.Text4, folder.filePath("missing.bmp")), window.Command11, "does not exist"},
        {typed(window.Text4, ""), window.Command11, "no file name"},
        {typed(window.Text4, pipe), window.Command11, "Cannot load the picture " + pipe +
         ": it is a named pipe, not a picture file; save the picture into a file first"},
        {typed(window.Text3, folder.filePath("no/out.bmp")), window.Command9, folder.filePath("no/out.bmp")},
        // Last: the set-up does not select a resolution again.
        {[&] {
             window.Text2->setText(folder.filePath("t.WAV"));
             Form1::setOption(window.Option1, false);
         },
         window.Command1, "No resolution is selected"},
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
        EXPECT_TRUE(window.Check5->isChecked());
        EXPECT_EQ(states({window.Command1, window.Command2, window.Command7, window.Command8}), "off off off off");
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("t.RAW")));
}
