// The recorder's window on the offscreen platform without any sound device:
// clear messages instead of a crash, nothing recorded lost, and Save writing
// the samples after the recording header with the sizes set. Samples come in
// through the window's own entry for what the input device delivers.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "audio/recorder_window.h"
#include "audio/recording_file.h"
#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "settings/memory_settings_store.h"
#include "support/fake_dialogs.h"
#include "support/test_data.h"

using namespace tonobild;
using tonobild::testdata::FakeDialogs;

namespace {

// No sound server is reachable: the window must manage without devices. Set
// before anything asks for the devices.
const bool kNoSoundServer = [] {
    qputenv("PULSE_SERVER", "unix:/nonexistent/tonobild-test-socket");
    qputenv("PULSE_AUTOSPAWN", "0");
    return true;
}();

class RecorderWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kNoSoundServer);
        ASSERT_TRUE(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("TONOBILD.WAV")).toStdString();
        prepareRecordingFile(file_);
    }

    std::unique_ptr<RecorderWindow> window(bool play = false, bool close = false)
    {
        auto w = std::make_unique<RecorderWindow>(dialogs_, store_, RecorderRequest{file_, play, close});
        w->show();
        return w;
    }

    static QByteArray samples(int count)
    {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes.append(static_cast<char>(i % 2 == 0 ? 224 : 31));
        return bytes;
    }

    std::vector<std::uint8_t> preparedHeader() const
    {
        const auto h = recordingHeader();
        return {h.begin(), h.end()};
    }

    QPushButton* button(RecorderWindow& w, const QString& text)
    {
        for (QPushButton* b : w.findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }

    QTemporaryDir dir_;
    std::string file_;
    FakeDialogs dialogs_;
    MemorySettingsStore store_;
};

} // namespace

TEST_F(RecorderWindowTest, TitledAfterTheFile)
{
    auto w = window();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("TONOBILD.WAV - Tonobild Recorder"));
    for (const char* name : {"Record", "Stop", "Play", "Save"})
        EXPECT_NE(button(*w, QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(RecorderWindowTest, RecordingWithoutADeviceSaysSoAndKeepsWhatWasRecorded)
{
    auto w = window();
    w->addRecordedSamples(samples(1000));
    w->record();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QStringLiteral("No sound input device"))) << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(w->recording().size(), 1000u);
    EXPECT_TRUE(w->hasUnsavedRecording());
    EXPECT_TRUE(button(*w, QStringLiteral("Record"))->isEnabled());
    EXPECT_TRUE(button(*w, QStringLiteral("Save"))->isEnabled());
}

TEST_F(RecorderWindowTest, TheSpaceBarStartsRecording)
{
    auto w = window();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_Space);
    ASSERT_EQ(dialogs_.messages.size(), 1u); // recording was tried: no device here
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QStringLiteral("No sound input device")));
}

TEST_F(RecorderWindowTest, PlayingWithoutADeviceSaysSo)
{
    auto w = window();
    w->addRecordedSamples(samples(100));
    w->play();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QStringLiteral("No sound output device")));
    EXPECT_TRUE(button(*w, QStringLiteral("Play"))->isEnabled());
}

TEST_F(RecorderWindowTest, PlayAndCloseOnAFileThatIsNoWavNamesItAndCloses)
{
    { std::ofstream(file_, std::ios::binary) << "not a wav file"; }
    auto w = window(true, true);
    w->startRequestedPlay();
    QTest::qWait(50);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QString::fromStdString(file_))) << dialogs_.messages[0].text.toStdString();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(RecorderWindowTest, SaveWritesTheSamplesAfterTheHeaderWithTheSizesSet)
{
    auto w = window();
    const QByteArray first = samples(30001);
    const QByteArray second = samples(7);
    w->addRecordedSamples(first);
    w->addRecordedSamples(second);
    ASSERT_TRUE(w->save());
    EXPECT_FALSE(w->hasUnsavedRecording());
    const auto bytes = testdata::readBytes(file_);
    ASSERT_EQ(bytes.size(), 58u + 30008u);
    const auto u32 = [&bytes](std::size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    };
    EXPECT_EQ(u32(4), 50u + 30008u);
    EXPECT_EQ(u32(46), 30008u);
    EXPECT_EQ(u32(54), 30008u);
    const WavAudio back = readWavFile(file_);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(back.data.data()), static_cast<qsizetype>(back.data.size())),
              first + second);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(RecorderWindowTest, ASaveThatFailsKeepsTheRecordingAndTheWindow)
{
    file_ = dir_.filePath(QStringLiteral("gone/TONOBILD.WAV")).toStdString();
    auto w = window();
    w->addRecordedSamples(samples(10));
    dialogs_.yesNoAnswers = {true};
    EXPECT_FALSE(w->close());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QString::fromStdString(file_)));
    EXPECT_TRUE(w->hasUnsavedRecording());
    EXPECT_EQ(w->recording().size(), 10u);
}

TEST_F(RecorderWindowTest, ClosingWithAnUnsavedRecordingAsksWhetherToSave)
{
    {
        auto w = window();
        w->addRecordedSamples(samples(10));
        dialogs_.yesNoAnswers = {false};
        EXPECT_TRUE(w->close());
        ASSERT_EQ(dialogs_.asked.size(), 1u);
        EXPECT_TRUE(dialogs_.asked[0].contains(QString::fromStdString(file_)));
        EXPECT_EQ(testdata::readBytes(file_), preparedHeader()); // No: the file is as prepared
    }
    {
        auto w = window();
        w->addRecordedSamples(samples(10));
        dialogs_.yesNoAnswers = {true};
        EXPECT_TRUE(w->close());
        EXPECT_EQ(testdata::readBytes(file_).size(), 58u + 10u);
    }
    {
        auto w = window(); // nothing recorded: no question
        EXPECT_TRUE(w->close());
        EXPECT_EQ(dialogs_.asked.size(), 2u);
    }
}
