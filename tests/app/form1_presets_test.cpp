// Mode presets, duration estimates and the first-time guide through the real window.
#include <gtest/gtest.h>

#include "app/first_time_guide.h"
#include "support/window_test.h"

using namespace tonobild;

namespace {

class Form1PresetsTest : public testdata::WindowTest {
protected:
    // Every one of the 36 preset values as the window shows them.
    static std::vector<QString> presetValues(Form1& window)
    {
        std::vector<QString> values = {window.Text2->text(), window.Text3->text(), window.Text4->text(),
                                       window.signature->text(), QString::number(window.VScroll2->value())};
        for (int number : kPresetOptions)
            values.push_back(window.option(number)->isChecked() ? "1" : "0");
        for (int number : kPresetChecks)
            values.push_back(QString::number(Form1::checkValue(window.check(number))));
        return values;
    }
};

} // namespace

TEST_F(Form1PresetsTest, SavedPresetComesBackAfterAnotherMode)
{
    auto window = startWindow();
    window->Option25->click(); // HAM
    window->Text2->setText("/tmp/ham.wav");
    window->Text3->setText("/tmp/ham.bmp");
    window->Text4->setText("/tmp/in.bmp");
    window->setSignatureText(" AKLM456");
    for (int number : {2, 7, 9, 11, 13, 21, 5})
        window->option(number)->setChecked(true);
    for (int number : {1, 3, 4, 5, 8, 9})
        Form1::setCheckValue(window->check(number), 1);
    Form1::setCheckValue(window->Check10, 2);
    const auto saved = presetValues(*window);
    window->Command13->click();
    EXPECT_EQ(store.read("HAM", "o2", "?"), "1");
    EXPECT_EQ(store.read("HAM", "c10", "?"), "2");
    EXPECT_EQ(store.read("HAM", "sign", "?"), " AKLM456");

    window->Option26->click(); // TAPE, never saved: everything is cleared
    EXPECT_FALSE(window->Option2->isChecked());
    EXPECT_EQ(window->Text2->text(), defaultAudioFileName());
    EXPECT_EQ(window->signature->text(), "");
    EXPECT_EQ(store.read("Settings", "Default Mode", "?"), "26");

    window->Option25->click();
    EXPECT_EQ(presetValues(*window), saved);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Form1PresetsTest, CbLocksHalfXAndTheSmallResolutionUntilAnotherMode)
{
    auto window = startWindow();
    window->Option16->click();
    EXPECT_TRUE(window->Option1->isChecked());
    EXPECT_FALSE(window->Option1->isEnabled());
    EXPECT_TRUE(window->Check2->isChecked());
    EXPECT_FALSE(window->Check2->isEnabled());

    // A reset in CB writes zeros but the interlock selects and ticks again.
    window->Command15->click();
    EXPECT_TRUE(window->Option1->isChecked());
    EXPECT_TRUE(window->Check2->isChecked());
    EXPECT_FALSE(window->Check2->isEnabled());

    store.write("FM", "o2", "1");
    window->Option15->click();
    EXPECT_TRUE(window->Option2->isChecked());
    EXPECT_TRUE(window->Option1->isEnabled());
    EXPECT_TRUE(window->Check2->isEnabled());
}

TEST_F(Form1PresetsTest, NoModeSelectedIsReportedBySaveAndReset)
{
    Form1 window(dialogs, store);
    window.Command13->click();
    window.Command15->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& message : dialogs.messages) {
        EXPECT_EQ(message.title, "No mode selected");
        EXPECT_EQ(message.text, "No mode selected");
    }
    EXPECT_TRUE(store.writes().empty());
}

TEST_F(Form1PresetsTest, RestartOpensInTheModeUsedLast)
{
    {
        auto window = startWindow();
        window->Option27->click();
    }
    store.write("HIRES", "o3", "1");
    store.write("HIRES", "t3", "/tmp/hires.bmp");
    auto window = startWindow();
    EXPECT_TRUE(window->Option27->isChecked());
    EXPECT_TRUE(window->Option3->isChecked());
    EXPECT_EQ(window->Text3->text(), "/tmp/hires.bmp");
    EXPECT_EQ(window->workingPicture().width(), 160); // start-up ends with the 160x120 grid

    store.write("Settings", "Default Mode", "abc");
    auto third = startWindow();
    EXPECT_FALSE(third->Option15->isChecked());
    EXPECT_FALSE(third->Option27->isChecked());
}

TEST_F(Form1PresetsTest, AnUnwritableStoreIsReportedOnceAndTheWindowGoesOn)
{
    store.failWrites("Permission denied");
    auto window = startWindow();
    window->Option25->click();
    window->Command13->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("Permission denied"));
    EXPECT_TRUE(window->Option25->isChecked());
}

TEST_F(Form1PresetsTest, NrMethodAndTimeReductionRecaptionTheResolutions)
{
    Form1 window(dialogs, store);
    window.Option4->setChecked(true);
    EXPECT_EQ(window.Option3->text(), "640x480 (~3 Minutes)");
    EXPECT_FALSE(window.Check1->isChecked());
    EXPECT_FALSE(window.Check1->isEnabled());
    EXPECT_FALSE(window.Check3->isEnabled()); // the HSync interlock ran
    window.Option9->setChecked(true);
    EXPECT_EQ(window.Option2->accessibleName(), "320x240 (~20 Seconds)");
    window.Option5->setChecked(true);
    EXPECT_TRUE(window.Check1->isChecked());
    EXPECT_TRUE(window.Check1->isEnabled());

    window.Check7->setChecked(true);
    window.Check2->setChecked(true);
    EXPECT_EQ(window.Label12->text(), "~19 Secs"); // "R+B HalfX" wins over "Half X"
}

TEST_F(Form1PresetsTest, GuideConfiguresThroughTheControlsAndExplains)
{
    Form1 window(dialogs, store);
    window.Check1->setChecked(false);
    window.Check8->setChecked(true);
    window.VScroll1->setValue(10);
    window.Command22->click();
    for (QCheckBox* box : {window.Check1, window.Check3, window.Check5, window.Check10, window.Check2, window.Check4})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_TRUE(window.Check3->isEnabled());
    EXPECT_TRUE(window.Check5->isEnabled());
    EXPECT_FALSE(window.Check8->isChecked());
    EXPECT_TRUE(window.Option7->isChecked());
    EXPECT_TRUE(window.Option24->isChecked());
    EXPECT_EQ(window.Label10->text(), "-32");
    EXPECT_EQ(window.Label12->text(), "~19 Secs"); // Slow and Half X: 29 / 2 rounds to 14
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "Configured");
    EXPECT_EQ(dialogs.messages[1].title, "Instructions");
    EXPECT_EQ(dialogs.messages[1].text.toStdString(), guideInstructionsText());
}
