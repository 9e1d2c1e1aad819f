// The working picture through the window: loading, preparing, the preview's
// clicks, the digital coding buttons, saving and viewing; and its sources: the
// test cards, the clipboard and the file selection dialog.
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

#include "picture/picture_view.h"
#include "picture/picture_viewer.h"
#include "support/window_test.h"

using namespace tonobild;
using testdata::dataFile;
using testdata::pictureOf;

namespace {

// Answers the file selection dialog as soon as it is open: types a name and
// presses OK, or presses CANCEL when the name is empty.
void answerFileDialog(const QString& name)
{
    QTimer::singleShot(50, [name] {
        QWidget* dialog = testdata::topLevel("Form2");
        if (!dialog)
            return answerFileDialog(name);
        if (!name.isEmpty())
            dialog->findChild<QLineEdit*>("Text1")->setText(name);
        dialog->findChild<QPushButton*>(name.isEmpty() ? "Command2" : "Command1")->click();
    });
}

// The window after start-up, with a test-card folder "cards" of four bitmaps
// and a text file, and a second folder "other".
class Form1PictureTest : public testdata::WindowTest {
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
    void load(const QString& path)
    {
        window.Text4->setText(path);
        window.Command11->click();
    }
    QString writeImage(int width, int height, const char* name)
    {
        return testdata::writeCard(folder.filePath(name), width, height, qRgb(10, 20, 30));
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

// Loading stamps the signature and shows the read-out; a failed load keeps the picture and says why.
TEST_F(Form1PictureTest, LoadingStampsTheSignatureAndShowsTheReadOutAndAFailedLoadKeepsThePictureAndSaysWhy)
{
    window.setSignatureText(" AKLM456");
    load(dataFile("gradient160.bmp"));
    EXPECT_EQ(window.workingPicture(), pictureOf(dataFile("gradient160-signed.bmp")));
    EXPECT_EQ(window.Label15->text(), "Class of transmitter: Amateur\r\nIdentification: KLM456");

    // A second preparation finds the signature and changes nothing, whatever the text now is.
    window.setSignatureText(" ANEWCALL");
    const WorkingPicture before = window.workingPicture();
    QTest::mouseClick(window.Label12, Qt::LeftButton);
    EXPECT_EQ(window.workingPicture(), before);

    // A named pipe with no writer would hold the window in its open call for ever.
    const QString pipe = folder.filePath("pipe.bmp");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    for (const QString& path : {folder.filePath("missing.bmp"), QString(), pipe}) {
        load(path);
        EXPECT_EQ(window.workingPicture(), before) << path.toStdString();
    }
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("does not exist"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("no file name"));
    EXPECT_EQ(dialogs.messages[2].text, "Cannot load the picture " + pipe +
                                            ": it is a named pipe, not a picture file; save the picture into a file first");
}

// The preview's clicks; then "Save" writes the working picture and "View" opens it at its own size,
// zoomable in steps with sharp pixels.
TEST_F(Form1PictureTest, PreviewClicksSetTheShiftsOrBlackenTheLeftColumnsSaveWritesItAndViewShowsAndZoomsIt)
{
    load(writeImage(160, 120, "grey.png"));
    QTest::mouseClick(window.Image1, Qt::RightButton, {}, QPoint(10, 200));
    const WorkingPicture& picture = window.workingPicture();
    EXPECT_EQ(picture.colour(5, 100), kBlack);
    EXPECT_EQ(picture.colour(6, 100), colourNumber(10, 20, 30));

    // A picture wider than 500 maps with the unrounded scale; the two reset buttons set the
    // shifts back to 0.
    load(writeImage(640, 480, "wide.png"));
    QTest::mouseClick(window.Image1, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(window.Label4->text(), "200");
    EXPECT_EQ(window.Label5->text(), "100");
    window.Command5->click();
    window.Command6->click();
    EXPECT_EQ(window.Label4->text(), "0");
    EXPECT_EQ(window.Label5->text(), "0");

    const QString path = folder.filePath("out.bmp");
    window.Text3->setText(path);
    window.Command9->click();
    EXPECT_EQ(pictureOf(path), window.workingPicture());
    window.Text3->setText(folder.filePath("no/such/folder/out.bmp"));
    window.Command9->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("no/such/folder/out.bmp"));

    window.viewButton->click();
    auto* viewer = window.findChild<PictureViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    auto* canvas = viewer->findChild<QLabel*>("canvas");
    const auto press = [&](const char* name, int times) {
        for (int i = 0; i < times; ++i)
            viewer->findChild<QPushButton*>(name)->click();
        return canvas->pixmap().size();
    };
    EXPECT_EQ(press("zoomIn", 0), QSize(640, 480));
    EXPECT_EQ(canvas->pixmap().toImage().pixel(300, 300), qRgb(10, 20, 30));
    EXPECT_EQ(press("zoomIn", 1), QSize(1280, 960));
    EXPECT_EQ(press("zoomOut", 4), QSize(160, 120)); // 25%, the smallest step
    EXPECT_FALSE(viewer->findChild<QPushButton*>("zoomOut")->isEnabled());
    press("actualSize", 1);
    EXPECT_EQ(viewer->zoom(), 100);
}

TEST_F(Form1PictureTest, DigitalCodingButtonsCodeAndPrepare)
{
    load(dataFile("gradient160.bmp"));
    const WorkingPicture coded = pictureOf(dataFile("gradient160.digital-encode.bmp"));
    // The source must be unstamped for the reference: place it again without preparation.
    window.workingPicture() = pictureOf(dataFile("gradient160.bmp"));
    window.Command20->click();
    const WorkingPicture& picture = window.workingPicture();
    for (int y = 10; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(picture.colour(x, y), coded.colour(x, y)) << x << "," << y;
    // The coded picture carried no signature, so the preparation stamped one into rows 0 to 9.
    EXPECT_EQ(picture.colour(36, 3), kWhite); // the start marker's digit 3 (code 32); black in the reference

    // Decoding codes nothing back into the strip; below it, pairs come back shifted one column.
    const WorkingPicture source = pictureOf(dataFile("gradient160.digital-encode.digital-decode.bmp"));
    window.Command21->click();
    for (int y = 10; y < 120; ++y)
        for (int x = 2; x < 160; ++x)
            ASSERT_EQ(picture.colour(x, y), source.colour(x, y)) << x << "," << y;
}

// The thumbnails, the fixed cards and the clipboard place pictures.
TEST_F(Form1PictureTest, ThumbnailsRunOverTheBitmapsSortedWithoutRegardToCaseAndFixedCardsPlacePictures)
{
    EXPECT_EQ(window.VScroll2->maximum(), 3);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{0, 0, 200})); // a.bmp
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

    // The fixed cards and the clipboard place pictures too.
    window.Option2->setChecked(true);
    QTest::mouseClick(window.Picture2, Qt::LeftButton);
    const WorkingPicture& picture = window.workingPicture();
    EXPECT_TRUE(window.Option1->isChecked());
    EXPECT_EQ(picture.colour(100, 50), kWhite);
    EXPECT_EQ(picture.colour(50, 50), kBlack);
    QTest::mouseClick(window.Picture3, Qt::LeftButton);
    EXPECT_EQ(picture.colour(50, 50), kWhite);

    load(folder.filePath("cards/a.bmp"));
    const WorkingPicture saved = picture;
    window.Command12->click();
    QTest::mouseClick(window.Picture2, Qt::LeftButton);
    window.Command10->click();
    EXPECT_EQ(picture, saved);
}

TEST_F(Form1PictureTest, ChangeTestcardDirectoryAndBrowseForTheInputPictureConfirmedAndCancelled)
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

    // Browsing for the input picture loads it and remembers the folder.
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
}
