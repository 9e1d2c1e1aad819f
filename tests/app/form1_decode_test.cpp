// Decoding through the window, and the signature dialog opened from it.
#include <QAccessible>
#include <QTimer>
#include <functional>

#include "picture/picture_view.h"
#include "support/window_test.h"

using namespace tonobild;
using testdata::dataFile;
using testdata::reference;

namespace {

const QString kSignedCaption = QStringLiteral("Class of transmitter: Amateur\r\nIdentification: KLM456");

class Form1DecodeTest : public testdata::WindowTest {
protected:
    // The decoder settings as the window opens, before a mode preset changes them;
    // only the signature scale is taken from start-up.
    void SetUp() override
    {
        window.workingState().sigscale = 1;
        window.Text2->setText(dataFile("gradient160-signed.RAW"));
        window.Option7->setChecked(true); // level 3
    }
    void decode()
    {
        window.Command2->click();
    }

    Form1 window{dialogs, store}; // the controls as the window opens
};

} // namespace

TEST_F(Form1DecodeTest, IdentifiedLinesAndEveryOtherWayOfPlacingValuesGiveTheirReferencePictures)
{
    decode();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Decoded"});
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3.bmp"));
    EXPECT_EQ(window.Label15->text(), kSignedCaption);
    // A screen reader hears who sent the picture, not only "Signature read-out".
    QAccessibleInterface* readOut = QAccessible::queryAccessibleInterface(window.Label15);
    EXPECT_EQ(readOut->text(QAccessible::Name), "Signature read-out");
    EXPECT_EQ(readOut->text(QAccessible::Description), kSignedCaption);
    EXPECT_EQ(window.Image1->image(), toImage(window.workingPicture()));
    EXPECT_TRUE(window.Check5->isChecked()); // re-ticked after the third code
    EXPECT_FALSE(window.Picture1->isVisibleTo(&window));
    EXPECT_TRUE(window.Frame7->isVisibleTo(&window));
    for (QPushButton* command : {window.Command1, window.Command2, window.Command7, window.Command8})
        EXPECT_TRUE(command->isEnabled());
    EXPECT_NE(window.Label9->text(), "0");

    // Every other way of placing values gives its reference picture.
    window.Check3->setChecked(false);
    decode();
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3-buffered.bmp"));
    EXPECT_EQ(window.Label15->text(), kSignedCaption);

    window.Check1->setChecked(false);
    window.Picture1_MouseUp(Qt::LeftButton, 21, 86);
    window.Command3->click(); // "Res detect" runs the same decode
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level3-direct-x21-y86.bmp"));
    EXPECT_EQ(window.Label15->text(), kSignedCaption);

    // Level 2 with the start-up controls takes code digits for syncs: black, though every tick counted.
    window.Check1->setChecked(true);
    window.Check3->setChecked(true);
    window.Option6->setChecked(true);
    window.workingPicture().clear(kWhite);
    window.Label9->setText("0");
    window.workingState().pixcount = 0;
    decode();
    EXPECT_EQ(window.workingPicture(), reference("gradient160-signed.decode-level2-startup.bmp"));
    EXPECT_EQ(window.Label15->text(), "");
    EXPECT_EQ(window.Label9->text(), "142"); // 2 ticks per group, a step every 1001
    EXPECT_EQ(dialogs.messages.size(), 4u);
}

TEST_F(Form1DecodeTest, AMissingFileOrChoiceIsSaidAndChangesNothing)
{
    const QString missing = folder.filePath("missing.wav");
    const struct { const char* what; std::function<void()> spoil; QString message; } cases[] = {
        {"missing file", [&] { window.Text2->setText(missing); }, missing},
        {"no level", [&] { Form1::setOption(window.Option7, false); },
         "Choose the Active Normalising level before decoding."},
        {"no inset", [&] { Form1::setOption(window.Option24, false); }, "LIC Inset"},
    };
    window.workingPicture().clear(kWhite);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp(); // the signed stream at level 3 again
        c.spoil();
        dialogs.messages.clear();
        decode();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].text.contains(c.message)) << dialogs.messages[0].text.toStdString();
        EXPECT_EQ(window.workingPicture().colour(0, 0), kWhite);
        EXPECT_TRUE(window.Check5->isChecked());
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(Form1DecodeTest, StopEndsAtTheNextProgressStepAndStillRebuilds)
{
    QTimer::singleShot(0, &window, [&] { window.Command4->click(); });
    decode();
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Decoded"});
    EXPECT_EQ(window.Label9->text(), "1");
    EXPECT_TRUE(window.Check5->isChecked()); // the decode unticked it and ended before the third code
    EXPECT_EQ(window.Label15->text(), "");
}

TEST_F(Form1DecodeTest, ClosingDuringADecodeEndsItSilently)
{
    window.show();
    QTimer::singleShot(0, &window, [&] { window.close(); });
    decode();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window.Label9->text(), "1"); // it ended at the first progress step
    EXPECT_FALSE(window.Picture1->image().isNull());
}

TEST_F(Form1DecodeTest, SignatureDialogSetsTheStampAndMeasuresTheRoomOfTheMoment)
{
    window.Form_Load();
    window.show();
    window.Command19->click();
    EXPECT_FALSE(window.isVisible());
    QWidget* form3 = testdata::topLevel("Form3");
    ASSERT_NE(form3, nullptr);
    form3->findChild<QPushButton*>("Command1")->click(); // "Set Signature" with "KLM456"
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.signature->text(), " AKLM456");

    // The room follows the transmission settings of the moment the dialog opens.
    window.Check2->setChecked(true);
    window.Option3->setChecked(true);
    window.Command19->click();
    EXPECT_EQ(form3->findChild<QLabel*>("capacity")->text(),
              "At 640 x 480 with \"Half X\" a receiver reads back 286 characters of the codeword.");

    // Closing the dialog from its frame clears the signature and unloads it.
    form3->close();
    QApplication::processEvents();
    EXPECT_EQ(window.signature->text(), "");
    EXPECT_TRUE(window.isVisible());
}
