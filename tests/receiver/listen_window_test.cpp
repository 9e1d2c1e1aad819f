// Listening through the window: a transmission played into the private sound
// server's null sink is shown row by row, kept in the gallery, shown in the
// gallery strip, and a click on it places it as the working picture; a
// standard one is decoded again from the strip, and the picture placed is
// sent in a standard mode. Run inside a private sound server (see this
// folder's CMakeLists.txt).
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTest>

#include "family/standard_family.h"
#include "soundfile/wav_file.h"
#include "soundfile/wav_sink.h"
#include "standard/standard_support.h"
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

// Counts the repaints of a widget.
struct Repaints final : QObject {
    explicit Repaints(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

// The picture in a standard transmission's WAV file of 16-bit samples.
WorkingPicture receivedFrom(const QString& path)
{
    const WavAudio audio = readWavFile(path.toStdString());
    channel::Samples samples;
    for (std::size_t i = 0; i + 1 < audio.data.size(); i += 2)
        samples.push_back(static_cast<float>(static_cast<std::int16_t>(audio.data[i] | audio.data[i + 1] << 8)) / 32768.0f);
    const auto received = standardtest::receive(samples, audio.sampleRate);
    return received ? received->picture : WorkingPicture();
}

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

// Robot 36 with an FSK identification: it grows in the Receive view, whose live picture and
// waterfall repaint at most at the screen's rate, is kept and shown in the strip with its time,
// mode and callsign, and a click places it. Decoded again in Robot 36 with the slant and offset
// set by hand, it is kept beside the first, which stays as it was. The picture placed, sent in
// Robot 36 by Encode, comes back from the WAV written.
TEST_F(ListenWindow, AStandardTransmissionGrowsIsKeptDecodedAgainPlacedAndSentInAStandardMode)
{
    const standard::StandardMode& robot36 = *standard::findMode("R36");
    const WorkingPicture card = standardtest::photoCard(robot36);
    StandardSendSettings settings{&robot36, {}, standard::Fit::Bars};
    settings.options.callsign = "DL1ABC";
    StandardSender sender(card, settings);
    const QString sentWav = folder.filePath(QStringLiteral("robot36.wav"));
    WavSink file(sentWav.toStdString(), sender.format());
    file.open();
    sender.send(file, {});
    file.commit();

    window.show();
    control<QTabWidget>(window, "views")->setCurrentIndex(1);
    const ListenControls panel(window);
    panel.folder->setText(folder.filePath(QStringLiteral("gallery")));
    panel.listen->click();
    Repaints live(control<QWidget>(window, "livePicture")), waterfall(control<QWidget>(window, "waterfall"));
    QElapsedTimer clock;
    clock.start();
    QProcess player;
    player.start(QStringLiteral(TONOBILD_CLI), {"play", "--output", "null", sentWav});
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.row->text().startsWith(QStringLiteral("line")); }, 30000));
    EXPECT_EQ(control<QLabel>(window, "listenFamily")->text(), QStringLiteral("Standard"));
    const QString firstRow = panel.row->text();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.row->text() != firstRow; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.strip->count() == 1; }, 90000)) << panel.status->text().toStdString();
    EXPECT_LE(live.count + 0LL, clock.elapsed() / 16 + 2);
    EXPECT_LE(waterfall.count + 0LL, clock.elapsed() / 16 + 2);
    EXPECT_GT(waterfall.count, 100);
    player.waitForFinished(30000);

    QListWidgetItem* kept = panel.strip->item(0);
    const QStringList caption = kept->text().split('\n');
    EXPECT_EQ(caption.mid(1), (QStringList{"Robot 36", "DL1ABC"})) << kept->text().toStdString();
    const QString keptPath = kept->data(Qt::UserRole).toString();
    EXPECT_GE(standardtest::psnr(card, testdata::pictureOf(keptPath)), 30);
    // Placed, it is prepared for sending as any picture: the signature band goes into rows 0 to 9.
    QTest::mouseClick(panel.strip->viewport(), Qt::LeftButton, {}, panel.strip->visualItemRect(kept).center());
    EXPECT_EQ(standardtest::psnr(window.workingPicture(), testdata::pictureOf(keptPath), 10), 99.0);

    const QByteArray first = testdata::fileBytes(keptPath);
    auto* mode = control<QComboBox>(window, "decodeAgainMode");
    mode->setCurrentIndex(mode->findText(QStringLiteral("Robot 36")));
    control<QLineEdit>(window, "decodeAgainPpm")->setText(QStringLiteral("0"));
    control<QLineEdit>(window, "decodeAgainOffset")->setText(QStringLiteral("0"));
    control<QPushButton>(window, "decodeAgainButton")->click();
    ASSERT_EQ(panel.strip->count(), 2) << panel.status->text().toStdString();
    const QString againPath = panel.strip->item(0)->data(Qt::UserRole).toString();
    EXPECT_NE(againPath, keptPath);
    EXPECT_EQ(testdata::fileBytes(keptPath), first);
    EXPECT_GE(standardtest::psnr(card, testdata::pictureOf(againPath)), 30);
    panel.listen->click();

    control<QComboBox>(window, "standardMode")->setCurrentIndex(
        control<QComboBox>(window, "standardMode")->findText(QStringLiteral("Robot 36")));
    const QString encoded = folder.filePath(QStringLiteral("encoded.wav"));
    testdata::text(window, 2)->setText(encoded);
    testdata::command(window, 1)->click();
    ASSERT_EQ(dialogs.messages.last(), QStringLiteral("Encoded"));
    EXPECT_GE(standardtest::psnr(window.workingPicture(), receivedFrom(encoded)), 30);
}
