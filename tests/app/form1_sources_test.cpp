// Test cards, the clipboard and the file selection dialog through the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "picture/picture_view.h"
#include "support/window_test.h"

using namespace tonobild;

namespace {

// Answers the file selection dialog as soon as it is open: types a name and
// presses OK, or presses CANCEL when the name is empty.
void answerFileDialog(const QString& name)
{
    QTimer::singleShot(50, [name] {
        QWidget* dialog = testdata::topLevel("Form2");
        if (!dialog) {
            answerFileDialog(name);
            return;
        }
        if (name.isEmpty()) {
            dialog->findChild<QPushButton*>("Command2")->click();
            return;
        }
        dialog->findChild<QLineEdit*>("Text1")->setText(name);
        dialog->findChild<QPushButton*>("Command1")->click();
    });
}

class Form1SourcesTest : public testdata::WindowTest {
protected:
    void SetUp() override
    {
        cards.mkpath("cards");
        cards.mkpath("other");
        testdata::writeCard(folder.filePath("cards/b.bmp"), 160, 120, qRgb(200, 0, 0), "BMP");
        testdata::writeCard(folder.filePath("cards/C.BMP"), 160, 120, qRgb(0, 200, 0), "BMP");
        testdata::writeCard(folder.filePath("cards/a.bmp"), 320, 240, qRgb(0, 0, 200), "BMP");
        testdata::writeCard(folder.filePath("cards/notes.txt"), 160, 120, qRgb(9, 9, 9), "BMP");
        testdata::writeCard(folder.filePath("other/z.BMP"), 160, 120, qRgb(50, 60, 70), "BMP");
        store.write("Directories", "Test Pattern", (folder.path() + "/cards/").toStdString());
        window.Form_Load();
    }
    ColourComponents thumbnailCentre() const
    {
        const QRgb pixel = window.Image2->image().pixel(5, 5);
        return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
    }

    QDir cards{folder.path()};
    Form1 window{dialogs, store};
};

} // namespace

TEST_F(Form1SourcesTest, ThumbnailsRunOverTheBitmapsSortedWithoutRegardToCase)
{
    EXPECT_EQ(window.VScroll2->maximum(), 3);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{0, 0, 200})); // a.bmp
    EXPECT_EQ(window.Image2->toolTip(), "a.bmp");
    window.VScroll2->setValue(3);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{0, 200, 0})); // C.BMP
    EXPECT_EQ(window.Image2->toolTip(), "C.BMP");
    EXPECT_EQ(window.Image2->accessibleDescription(), "C.BMP");
    window.Option2->setChecked(true);
    QTest::mouseClick(window.Image2, Qt::LeftButton);
    EXPECT_EQ(window.workingPicture().colour(50, 50), colourNumber(0, 200, 0));
    EXPECT_TRUE(window.Option1->isChecked());

    // An empty folder leaves the thumbnail as it was, silently.
    store.write("Directories", "Test Pattern", (folder.path() + "/missing/").toStdString());
    window.VScroll2->setValue(1);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{0, 200, 0}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Form1SourcesTest, FixedCardsAndTheClipboardPlacePictures)
{
    window.Option2->setChecked(true);
    QTest::mouseClick(window.Picture2, Qt::LeftButton);
    const WorkingPicture& picture = window.workingPicture();
    EXPECT_TRUE(window.Option1->isChecked());
    EXPECT_EQ(picture.colour(100, 50), kWhite);
    EXPECT_EQ(picture.colour(50, 100), kWhite);
    EXPECT_EQ(picture.colour(50, 50), kBlack);
    QTest::mouseClick(window.Picture3, Qt::LeftButton);
    EXPECT_EQ(picture.colour(50, 50), kWhite);

    window.Text4->setText(folder.filePath("cards/a.bmp"));
    window.Command11->click();
    const WorkingPicture saved = picture;
    window.Command12->click();
    QTest::mouseClick(window.Picture2, Qt::LeftButton);
    window.Command10->click();
    EXPECT_EQ(picture, saved);
}

TEST_F(Form1SourcesTest, ChangeTestcardDirectoryConfirmedAndCancelled)
{
    window.Text4->setText(folder.filePath("cards/b.bmp"));
    store.clearWriteLog();
    answerFileDialog(QString());
    window.Command14->click();
    EXPECT_TRUE(store.writes().empty());
    EXPECT_EQ(window.workingPicture().colour(50, 50), kBlack);

    // The dialog opens at the stored test-card folder; a file confirmed there makes it the new one.
    answerFileDialog("z.BMP");
    store.write("Directories", "Test Pattern", (folder.path() + "/other/").toStdString());
    window.Command14->click();
    EXPECT_EQ(store.read("Directories", "Test Pattern", "?"), (folder.path() + "/other/").toStdString());
    EXPECT_EQ(store.read("Directories", "DefaultInPIC", "?"), (folder.path() + "/other").toStdString());
    EXPECT_EQ(window.workingPicture().colour(50, 50), colourNumber(200, 0, 0)); // Text4 loaded again
    EXPECT_EQ(window.VScroll2->maximum(), 1);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{50, 60, 70}));
}

TEST_F(Form1SourcesTest, BrowsingForTheInputPictureLoadsItAndRemembersTheFolder)
{
    store.write("Directories", "DefaultInPIC", (folder.path() + "/cards").toStdString());
    answerFileDialog("C.BMP");
    window.Command16->click();
    EXPECT_EQ(window.Text4->text(), folder.filePath("cards/C.BMP"));
    EXPECT_EQ(window.workingPicture().colour(50, 50), colourNumber(0, 200, 0));
    EXPECT_EQ(store.read("Directories", "DefaultInPIC", "?"), (folder.path() + "/cards").toStdString());

    const QString before = window.Text2->text();
    answerFileDialog(QString());
    QTest::mouseDClick(window.Text2, Qt::LeftButton);
    EXPECT_EQ(window.Text2->text(), before);
    EXPECT_EQ(store.read("Directories", "DefaultInWAV", "none"), "none");
}
