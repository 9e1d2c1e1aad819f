// The working picture through the window: loading, preparing, the preview's
// clicks, the digital coding buttons, saving and viewing; and its sources: the
// test cards, the clipboard and the file selection dialog.
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "filedialog/file_selection_dialog.h"
#include "picture/picture_view.h"
#include "picture/picture_viewer.h"
#include "support/window_test.h"

using namespace tonobild;
using namespace tonobild::testdata;

namespace {

// Acts on the file selection dialog as soon as it is open. An action must answer the
// dialog, or close the window, for the wait to end.
void onFileDialog(const std::function<void(Form2&)>& action)
{
    QTimer::singleShot(50, [action] {
        auto* dialog = qobject_cast<Form2*>(topLevel("Form2"));
        if (!dialog)
            return onFileDialog(action);
        action(*dialog);
    });
}

// The entries of one of the dialog's lists, as shown or as kept (Qt::UserRole).
QStringList entries(const QListWidget* list, int role = Qt::DisplayRole)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->data(role).toString();
    return names;
}

// The window after start-up, with a test-card folder "cards" of three bitmaps, a
// text file, a sound file and a folder named like a bitmap, and a second folder "other".
class Form1PictureTest : public WindowTest {
protected:
    void SetUp() override
    {
        for (const char* subfolder : {"cards/folder.bmp", "other"})
            QDir(folder.path()).mkpath(subfolder);
        writeBytes(folder.filePath("cards/x.WAV"), {});
        for (const auto& [name, width, colour] :
             {std::tuple{"cards/b.bmp", 160, qRgb(200, 0, 0)}, {"cards/C.BMP", 160, qRgb(0, 200, 0)},
              {"cards/a.bmp", 320, qRgb(0, 0, 200)}, {"cards/notes.txt", 160, qRgb(9, 9, 9)},
              {"other/z.BMP", 160, qRgb(50, 60, 70)}})
            writeCard(folder.filePath(name), width, width * 3 / 4, colour, "BMP");
        store.write("Directories", "Test Pattern", (folder.path() + "/cards/").toStdString());
        window.Form_Load();
    }
    void load(const QString& path)
    {
        text(window, 4)->setText(path);
        command(window, 11)->click();
    }
    ColourComponents thumbnailCentre() const
    {
        const QRgb pixel = control<PictureView>(window, "Image2")->image().pixel(5, 5);
        return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
    }

    Form1 window{dialogs, store};
};

} // namespace

// Loading stamps the signature and shows the read-out; the digital coding buttons code and
// prepare; the preview's clicks; then "Save" writes the working picture and "View" opens it at its
// own size, zoomable. (Failed loads and saves are
// Form1DecodeTest.ACommandThatCannotGoOnSaysWhyAndChangesNothing's; that a picture already signed
// is not stamped again is Signature.IsFoundAndKeptMovedUpByOneRowButNotByTwo...'s.)
TEST_F(Form1PictureTest, LoadingTheDigitalCodingButtonsAndThePreviewsClicksPrepareThePictureSaveWritesItAndViewShowsIt)
{
    window.setSignatureText(" AKLM456");
    load(dataFile("gradient160.bmp"));
    EXPECT_EQ(window.workingPicture(), pictureOf(dataFile("gradient160-signed.bmp")));
    EXPECT_EQ(label(window, 15)->text(), "Class of transmitter: Amateur\r\nIdentification: KLM456");

    const WorkingPicture coded = pictureOf(dataFile("gradient160.digital-encode.bmp"));
    // The source must be unstamped for the reference: place it again without preparation.
    window.workingPicture() = pictureOf(dataFile("gradient160.bmp"));
    command(window, 20)->click();
    const WorkingPicture& picture = window.workingPicture();
    for (int y = 10; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(picture.colour(x, y), coded.colour(x, y)) << x << "," << y;
    // The coded picture carried no signature, so the preparation stamped one into rows 0 to 9.
    EXPECT_EQ(picture.colour(36, 3), kWhite); // the start marker's digit 3 (code 32); black in the reference

    // Decoding codes nothing back into the strip; below it, pairs come back shifted one column.
    const WorkingPicture source = pictureOf(dataFile("gradient160.digital-encode.digital-decode.bmp"));
    command(window, 21)->click();
    for (int y = 10; y < 120; ++y)
        for (int x = 2; x < 160; ++x)
            ASSERT_EQ(picture.colour(x, y), source.colour(x, y)) << x << "," << y;

    // A right click on the preview blackens the columns up to it.
    load(writeCard(folder.filePath("grey.png"), 160, 120, qRgb(10, 20, 30)));
    QTest::mouseClick(control<PictureView>(window, "Image1"), Qt::RightButton, {}, QPoint(10, 200));
    EXPECT_EQ(picture.colour(5, 100), kBlack);
    EXPECT_EQ(picture.colour(6, 100), colourNumber(10, 20, 30));

    // A picture wider than 500 maps with the unrounded scale.
    load(writeCard(folder.filePath("wide.png"), 640, 480, qRgb(10, 20, 30)));
    QTest::mouseClick(control<PictureView>(window, "Image1"), Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ((QStringList{label(window, 4)->text(), label(window, 5)->text()}), (QStringList{"200", "100"}));

    const QString path = folder.filePath("out.bmp");
    text(window, 3)->setText(path);
    command(window, 9)->click();
    EXPECT_EQ(pictureOf(path), window.workingPicture());
    EXPECT_TRUE(dialogs.messages.empty()); // loaded, coded and saved without a word

    control<QPushButton>(window, "viewButton")->click();
    auto* viewer = window.findChild<PictureViewer*>();
    ASSERT_TRUE(viewer && viewer->isVisible());
    auto* canvas = viewer->findChild<QLabel*>("canvas");
    EXPECT_EQ(canvas->pixmap().size(), QSize(640, 480));
    EXPECT_EQ(canvas->pixmap().toImage().pixel(300, 300), qRgb(10, 20, 30));
    viewer->findChild<QPushButton*>("zoomIn")->click();
    EXPECT_EQ(canvas->pixmap().size(), QSize(1280, 960));
}

// The thumbnails run over the bitmaps; the fixed cards and the clipboard place pictures, and the
// resolution follows them. (A thumbnail clicked places its card: the test card travels in
// Form1Test.WholeRoadFromTheFirstStartToAReceivedSignedPictureAndTheNextStartInTheModeUsedLast.)
TEST_F(Form1PictureTest, ThumbnailsRunOverTheBitmapsSortedWithoutRegardToCaseAndFixedCardsPlacePictures)
{
    EXPECT_EQ(control<QScrollBar>(window, "VScroll2")->maximum(), 3);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{0, 0, 200})); // a.bmp
    control<QScrollBar>(window, "VScroll2")->setValue(3);
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{0, 200, 0})); // C.BMP
    const PictureView* thumbnail = control<PictureView>(window, "Image2");
    EXPECT_EQ((QStringList{thumbnail->toolTip(), thumbnail->accessibleDescription()}), (QStringList{"C.BMP", "C.BMP"}));

    // An empty folder is passed over silently.
    store.write("Directories", "Test Pattern", (folder.path() + "/missing/").toStdString());
    control<QScrollBar>(window, "VScroll2")->setValue(1);
    EXPECT_TRUE(dialogs.messages.empty());

    // The fixed cards and the clipboard place pictures.
    option(window, 2)->setChecked(true);
    QTest::mouseClick(control<PictureView>(window, "Picture2"), Qt::LeftButton);
    const WorkingPicture& picture = window.workingPicture();
    EXPECT_TRUE(option(window, 1)->isChecked());
    EXPECT_EQ(std::pair(picture.colour(100, 50), picture.colour(50, 50)), std::pair(kWhite, kBlack)); // the cross
    QTest::mouseClick(control<PictureView>(window, "Picture3"), Qt::LeftButton);
    EXPECT_EQ(picture.colour(50, 50), kWhite);

    load(folder.filePath("cards/a.bmp"));
    const WorkingPicture saved = picture;
    command(window, 12)->click();
    QTest::mouseClick(control<PictureView>(window, "Picture2"), Qt::LeftButton);
    command(window, 10)->click();
    EXPECT_EQ(picture, saved);
}

// The file selection dialog behind the window's buttons. "Change testcard directory": an empty
// OK asks for a name, and closing the dialog from its frame cancels and stores nothing; a file
// confirmed makes its folder the test-card folder. Browsing for the input picture: the dialog
// lists the bitmaps in lower case with a preview, and answers a clicked one as the file system
// spells it; its folder is stored without the separator. The audio file's dialog lists sound
// files without a preview; Cancel keeps the name. The output picture's dialog, at the root, takes
// a typed name with Enter behind the hidden window and stores the root as itself. Closing the
// window ends the wait and stores nothing.
TEST_F(Form1PictureTest, FileDialogsBehindTheButtonsConfirmCancelOrEndWithTheWindowAndStoreTheirFolders)
{
    text(window, 4)->setText(folder.filePath("cards/b.bmp"));
    store.clearWriteLog();
    onFileDialog([](Form2& dialog) {
        dialog.Command1->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.close();
    });
    command(window, 14)->click();
    EXPECT_EQ(dialogs.messages, QStringList{"No file selected. Select a file, or click on cancel"});
    EXPECT_TRUE(store.writes().empty());
    EXPECT_EQ(window.workingPicture().colour(50, 50), kBlack);

    // The dialog opens at the stored test-card folder; a file confirmed there makes it the new one.
    store.write("Directories", "Test Pattern", (folder.path() + "/other/").toStdString());
    onFileDialog([](Form2& dialog) {
        dialog.Text1->setText("z.BMP");
        dialog.Command1->click();
    });
    command(window, 14)->click();
    EXPECT_EQ(store.read("Directories", "Test Pattern", "?"), (folder.path() + "/other/").toStdString());
    EXPECT_EQ(store.read("Directories", "DefaultInPIC", "?"), (folder.path() + "/other").toStdString());
    EXPECT_EQ(window.workingPicture().colour(50, 50), colourNumber(200, 0, 0)); // Text4 loaded again
    EXPECT_EQ(thumbnailCentre(), (ColourComponents{50, 60, 70})); // the thumbnails run over the new folder

    // Browsing for the input picture loads the clicked one and remembers the folder.
    store.write("Directories", "DefaultInPIC", (folder.path() + "/cards/").toStdString());
    onFileDialog([&](Form2& dialog) {
        EXPECT_EQ(dialog.LookIn->toolTip(), folder.path() + "/cards"); // whole, however narrow the label
        EXPECT_EQ(std::pair(dialog.Image1->isHidden(), entries(dialog.List1)),
                  std::pair(false, QStringList{"a.bmp", "b.bmp", "c.bmp"}));
        const QRect entry = dialog.List1->visualItemRect(dialog.List1->item(2));
        QTest::mouseClick(dialog.List1->viewport(), Qt::LeftButton, {}, entry.center());
        EXPECT_EQ(std::pair(dialog.Text1->text(), dialog.Image1->image().pixel(5, 5)),
                  std::pair(QString("c.bmp"), qRgb(0, 200, 0)));
        dialog.Command1->click();
    });
    command(window, 16)->click();
    EXPECT_EQ(text(window, 4)->text(), folder.filePath("cards/C.BMP"));
    EXPECT_EQ(window.workingPicture().colour(50, 50), colourNumber(0, 200, 0));
    EXPECT_EQ(store.read("Directories", "DefaultInPIC", "?"), (folder.path() + "/cards").toStdString());

    // The audio file's and the output picture's dialogs, over the window shown.
    store.write("Directories", "DefaultInWAV", (folder.path() + "/cards").toStdString());
    const QString audio = text(window, 2)->text();
    window.show();
    onFileDialog([](Form2& dialog) {
        EXPECT_EQ(std::tuple(dialog.Image1->isHidden(), entries(dialog.List1), entries(dialog.List1, Qt::UserRole)),
                  std::tuple(true, QStringList{"x.wav"}, QStringList{"x.WAV"}));
        dialog.Command2->click();
    });
    QTest::mouseDClick(text(window, 2), Qt::LeftButton);
    EXPECT_EQ(std::pair(text(window, 2)->text(), window.isVisible()), std::pair(audio, true));

    store.write("Directories", "DefaultOutPIC", "/");
    store.clearWriteLog();
    bool windowHidden = false;
    onFileDialog([&](Form2& dialog) {
        windowHidden = window.isHidden();
        EXPECT_EQ(dialog.folder(), "/");
        QTest::keyClicks(dialog.Text1, "New Card.BMP");
        QTest::keyClick(dialog.Text1, Qt::Key_Return);
    });
    command(window, 18)->click();
    EXPECT_EQ(std::tuple(windowHidden, window.isVisible(), text(window, 3)->text()),
              std::tuple(true, true, QString("/New Card.BMP")));
    EXPECT_EQ(store.writes(), (std::vector<SettingsWrite>{{"Directories", "DefaultOutPIC", "/"}}));

    store.clearWriteLog();
    onFileDialog([&](Form2&) { window.close(); });
    command(window, 17)->click();
    EXPECT_EQ(std::tuple(store.writes().empty(), window.isHidden(), text(window, 2)->text()),
              std::tuple(true, true, audio));
}
