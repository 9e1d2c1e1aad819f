// The whole road through the real window: first start, the guide, a test card
// chosen by its thumbnail, a signature, Encode, Decode, the read-out, Save.
#include <gtest/gtest.h>

#include <QTest>

#include "picture/picture_view.h"
#include "picture/test_cards.h"
#include "support/window_test.h"

using namespace tonobild;
using testdata::pictureOf;

using testdata::topLevel;
using WholeRoad = testdata::WindowTest;

TEST_F(WholeRoad, FromATestCardToAReceivedSignedPicture)
{
    dialogs.answers.push_back(installedTestCardFolder());
    Form1 window(dialogs, store);
    window.Form_Load();
    window.show();
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(window.Option15->isChecked());

    window.Command22->click(); // the guide: Slow, Half X, Level 3, identified lines
    ASSERT_EQ(dialogs.messages.size(), 2u);

    window.Command19->click();
    QWidget* form3 = topLevel("Form3");
    ASSERT_NE(form3, nullptr);
    form3->findChild<QLineEdit*>("Text1")->setText("DL1ABC");
    form3->findChild<QPushButton*>("Command1")->click();

    // The first card in name order is BARS160.BMP, 160 x 120.
    window.VScroll2->setValue(1);
    QTest::mouseClick(window.Image2, Qt::LeftButton);
    const WorkingPicture card = pictureOf(QDir(installedTestCardFolder()).filePath("BARS160.BMP"));
    ASSERT_EQ(card.width(), 160);
    EXPECT_EQ(window.Label15->text(), "Class of transmitter: Amateur\r\nIdentification: DL1ABC");
    const WorkingPicture sent = window.workingPicture();

    window.Text2->setText(folder.filePath("road.wav"));
    window.Command1->click();
    EXPECT_EQ(dialogs.messages.back().text, "Encoded");
    window.Command2->click();
    EXPECT_EQ(dialogs.messages.back().text, "Decoded");
    EXPECT_EQ(window.Label15->text(), "Class of transmitter: Amateur\r\nIdentification: DL1ABC");

    // With "Half X" every second column travels: group k comes back at columns 2k and 2k + 1.
    // Rows 2 to 119 come back; the first lines are filed before the lock engages, so rows
    // 2 and 3 lack their blue. Below the signature strip the card itself is compared.
    const WorkingPicture& received = window.workingPicture();
    for (int y = 4; y < 120; ++y)
        for (int x = 30; x <= 134; x += 2) {
            ASSERT_EQ(received.colour(x, y), sent.colour(x, y)) << x << "," << y;
            if (y >= 10) {
                ASSERT_EQ(received.colour(x, y), card.colour(x, y)) << x << "," << y;
            }
        }

    window.Text3->setText(folder.filePath("received.bmp"));
    window.Command9->click();
    EXPECT_EQ(pictureOf(folder.filePath("received.bmp")), received);
    EXPECT_EQ(dialogs.messages.size(), 4u);
}
