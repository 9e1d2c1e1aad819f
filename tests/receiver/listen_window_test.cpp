// Listening through the window: a transmission played into the private sound
// server's null sink is shown row by row, kept in the gallery, shown in the
// gallery strip, and a click on it places it as the working picture.
// Run inside a private sound server (see this folder's CMakeLists.txt).
#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QTest>

#include "support/recordings.h"
#include "support/window_test.h"

using namespace tonobild;
using testdata::control;

namespace {

// The Listen panel's controls, found by their object names.
struct ListenControls {
    explicit ListenControls(const QWidget& window)
        : listen(control<QPushButton>(window, "listenButton")), folder(control<QLineEdit>(window, "galleryFolder")),
          status(control<QLabel>(window, "listenStatus")), row(control<QLabel>(window, "listenRow")),
          strip(control<QListWidget>(window, "galleryStrip"))
    {
    }
    QPushButton* listen;
    QLineEdit* folder;
    QLabel* status;
    QLabel* row;
    QListWidget* strip;
};

} // namespace

class ListenWindow : public testdata::DecodingWindowTest {
protected:
    // The encoder's stream of gradient160 signed " AKLM456", as its WAV file at 11025.
    const std::vector<std::uint8_t> stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    const QString sent = testdata::writeBytes(folder.filePath(QStringLiteral("sent.wav")),
                                              recordingtest::record(stream, recordingtest::Recording::Wav));
};

TEST_F(ListenWindow, ATransmissionGrowsRowByRowIsKeptAndPlacedFromTheStrip)
{
    window.show();
    const ListenControls panel(window);
    panel.folder->setText(folder.filePath(QStringLiteral("gallery")));
    panel.listen->click();

    // While listening, Decode and Record say so and do nothing else.
    testdata::command(window, 2)->click();
    testdata::command(window, 7)->click();
    EXPECT_EQ(dialogs.messages, QStringList(2, QStringLiteral("Listening is on: stop listening first.")));

    QProcess player;
    player.start(QStringLiteral(TONOBILD_CLI), {"play", "--output", "null", sent});
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.row->text().startsWith(QStringLiteral("line")); }, 30000));
    EXPECT_EQ(panel.status->text(), QStringLiteral("Receiving"));
    const QString firstRow = panel.row->text();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.row->text() != firstRow; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.strip->count() == 1; }, 60000))
        << panel.status->text().toStdString();
    player.waitForFinished(30000);
    EXPECT_TRUE(panel.status->text().startsWith(QStringLiteral("Received"))) << panel.status->text().toStdString();

    // The codeword in the kept file's name is listen_sound_path's to check: its
    // "tonobild-cli listen" keeps pictures through the same listening session.
    QListWidgetItem* kept = panel.strip->item(0);
    QTest::mouseClick(panel.strip->viewport(), Qt::LeftButton, {},
                      panel.strip->visualItemRect(kept).center());
    EXPECT_TRUE(window.workingPicture() == testdata::pictureOf(kept->data(Qt::UserRole).toString()));
    EXPECT_TRUE(testdata::label(window, 15)->text().contains(QStringLiteral("Identification: KLM456")));

    panel.listen->click();
    EXPECT_FALSE(window.findChild<ListenPanel*>()->isListening());
}

// Closing the window while a transmission comes in: in its leader, which the
// decode began by unticking "LIC Lock", nothing is kept; after its first lines,
// what has arrived is kept in the gallery. Either way the window goes whole.
TEST_F(ListenWindow, AWindowClosedDuringATransmissionKeepsWhatArrived)
{
    for (const int closeAtLine : {0, 10}) {
        SCOPED_TRACE(closeAtLine);
        auto closing = std::make_unique<Form1>(dialogs, store);
        testdata::option(*closing, 7)->setChecked(true); // level 3, as the fixture's window
        closing->show();
        const ListenControls panel(*closing);
        const QString gallery = folder.filePath(QStringLiteral("closed-at-%1").arg(closeAtLine));
        panel.folder->setText(gallery);
        panel.listen->click();
        QProcess player;
        player.start(QStringLiteral(TONOBILD_CLI), {"play", "--output", "null", sent});
        // The caption reads "line N of 120, pass blue" from the leader on.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const QStringList words = panel.row->text().split(' ');
            return words.size() > 1 && words[0] == QStringLiteral("line") && words[1].toInt() >= closeAtLine;
        }, 30000)) << panel.row->text().toStdString() << " / " << panel.status->text().toStdString();
        closing->close();
        closing.reset();
        player.kill();
        player.waitForFinished(10000);
        EXPECT_EQ(QDir(gallery).entryList({QStringLiteral("*.png")}, QDir::Files).size(), closeAtLine == 0 ? 0 : 1);
    }
}
