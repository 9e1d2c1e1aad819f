// The reception panel under the window's Decode, driven through the real window.
#include "soundfile/wav_file.h"
#include "receiver/reception_panel.h"
#include "support/window_test.h"

using namespace tonobild;
using namespace tonobild::testdata;

using ReceptionPanelTest = testdata::DecodingWindowTest;

// Detect sets the sender's controls as a click would and says so; with no
// transmission in the file it changes nothing and names the file.
TEST_F(ReceptionPanelTest, DetectSetsTheSendersControlsAsAClickWouldAndSaysSo)
{
    // Sent at 320x240 with Half X and Compand by the window itself.
    text(window, 2)->setText(folder.filePath("sent.wav"));
    for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{option(window, 2), check(window, 2),
                                                                        check(window, 9)})
        box->setChecked(true);
    command(window, 1)->click();

    // Set otherwise: 160x120, neither Half X nor Compand, and Mono reception.
    option(window, 1)->setChecked(true);
    QCheckBox* const monoBox = control<QCheckBox>(window, "monoBox");
    for (QAbstractButton* box : {check(window, 2), check(window, 9), monoBox})
        box->toggle();
    const QString durationWithoutHalfX = label(window, 13)->text();
    control<QPushButton>(window, "detectButton")->click();
    EXPECT_EQ(states({option(window, 2), check(window, 2), check(window, 9), monoBox}), "on on on off");
    EXPECT_NE(label(window, 13)->text(), durationWithoutHalfX); // the Half X reaction ran
    ASSERT_EQ(dialogs.messages, (QStringList{"Encoded", "Detected 320x240, Half X, Compand (certain)."}));

    // A file with no transmission changes nothing and is named (the reason between is the detector's).
    const QString silence = testdata::writeBytes(folder.filePath("silence.wav"), std::vector<std::uint8_t>(50000, 128));
    text(window, 2)->setText(silence);
    option(window, 3)->setChecked(true);
    control<QPushButton>(window, "detectButton")->click();
    EXPECT_TRUE(option(window, 3)->isChecked());
    const QString said = dialogs.messages.value(2);
    EXPECT_TRUE(said.startsWith("No transmission found in " + silence + ": ") && said.endsWith("Nothing was changed."))
        << said.toStdString();
}

// Condition recording decodes a sound card's recording to the reference picture;
// Mono reception brings a picture sent in mono back in its colour.
TEST_F(ReceptionPanelTest, ConditionRecordingAndMonoReceptionReachTheDecode)
{
    // The recorder's file at 44100: every sample held four times, with a bias of 20 levels.
    std::vector<std::uint8_t> held = testdata::held(testdata::readBytes(testdata::dataPath("gradient160-signed.RAW")), 4);
    std::ranges::for_each(held, [](std::uint8_t& s) { s = static_cast<std::uint8_t>(s + 20); });
    text(window, 2)->setText(testdata::writeBytes(folder.filePath("card.wav"), recordingFileBytes(held)));

    command(window, 2)->click();
    EXPECT_NE(window.workingPicture(), testdata::reference("gradient160-signed.decode-level3.bmp"));
    control<QCheckBox>(window, "conditionBox")->setChecked(true);
    command(window, 2)->click();
    EXPECT_EQ(window.workingPicture(), testdata::reference("gradient160-signed.decode-level3.bmp"));

    // A grey picture sent in mono comes back grey, the recording still conditioned.
    // Grey is level 192, which comes back as 128 exactly.
    text(window, 4)->setText(testdata::writeCard(folder.filePath("grey.png"), 160, 120, qRgb(128, 128, 128)));
    command(window, 11)->click();
    text(window, 2)->setText(folder.filePath("mono.wav"));
    option(window, 9)->setChecked(true); // "Mono Image"
    command(window, 1)->click();
    option(window, 8)->setChecked(true);

    command(window, 2)->click();
    EXPECT_NE(window.workingPicture().colour(80, 80), 0x808080); // the passes land in the wrong colours
    control<QCheckBox>(window, "monoBox")->setChecked(true);
    command(window, 2)->click();
    EXPECT_EQ(window.workingPicture().colour(80, 80), 0x808080);
}
