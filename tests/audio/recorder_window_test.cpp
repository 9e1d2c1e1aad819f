// The recorder's window on the offscreen platform without any sound device:
// clear messages instead of a crash, nothing recorded lost, and Save writing
// the samples after the recording header with the sizes set. Samples come in
// through the window's own entry for what the input device delivers.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "audio/recorder_window.h"
#include "audio/recording_file.h"
#include "audio/wav_file.h"
#include "audio/window_text.h"
#include "settings/memory_settings_store.h"
#include "support/fake_dialogs.h"
#include "support/no_sound_server.h"
#include "support/test_data.h"

using namespace tonobild;
using namespace tonobild::testdata;

namespace {

class RecorderWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kNoSoundServer && dir_.isValid());
        prepareRecordingFile(file_);
        window_.show();
    }

    QTemporaryDir dir_;
    std::string file_ = dir_.filePath(QStringLiteral("TONOBILD.WAV")).toStdString();
    FakeDialogs dialogs_;
    MemorySettingsStore store_;
    RecorderWindow window_{dialogs_, store_, RecorderRequest{file_, false, false}};
};

} // namespace

TEST_F(RecorderWindowTest, SaveWritesTheSamplesAfterTheHeaderWithTheSizesSet)
{
    const QByteArray first(30001, '\xe0');
    const QByteArray second = QByteArray(6, '\x1f');
    for (const QByteArray& part : {first, second})
        window_.addRecordedSamples(part);
    ASSERT_TRUE(window_.save());
    EXPECT_FALSE(window_.hasUnsavedRecording());
    const auto bytes = readBytes(file_);
    ASSERT_EQ(bytes.size(), 58u + 30007u + 1u); // an odd count gets a pad byte
    // RIFF: everything after the field; "fact": samples; "data": without the pad byte.
    EXPECT_EQ(std::tuple(littleEndian(bytes, 4), littleEndian(bytes, 46), littleEndian(bytes, 54)),
              std::tuple(30058u, 30007u, 30007u));
    const QByteArray recorded = first + second;
    EXPECT_EQ(readWavFile(file_).data, std::vector<std::uint8_t>(recorded.begin(), recorded.end()));
    EXPECT_TRUE(dialogs_.messages.empty());
}

// Without devices Record and Play are off and the window says why; called all
// the same they say so, and closing asks to save what was recorded.
TEST_F(RecorderWindowTest, WithoutDevicesRecordAndPlayAreOffAndTheWindowSaysWhyAsTheNoticeNamesWhatIsMissing)
{
    ASSERT_TRUE(button(window_, "Record") && button(window_, "Play"));
    EXPECT_FALSE(button(window_, "Record")->isEnabled() || button(window_, "Play")->isEnabled());
    EXPECT_TRUE(visibleText(window_).contains("No sound input or output device is available: Record and Play are off."));

    // The space bar cannot start what Record cannot.
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    QTest::keyClick(&window_, Qt::Key_Space);
    EXPECT_TRUE(dialogs_.messages.empty());

    // Called all the same, Record and Play say so and keep what was recorded.
    window_.addRecordedSamples(QByteArray(1000, '\xe0'));
    window_.record();
    window_.play();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QStringLiteral("No sound input device")));
    EXPECT_TRUE(dialogs_.messages[1].text.contains(QStringLiteral("No sound output device")));
    EXPECT_EQ(std::pair(window_.recording().size(), window_.hasUnsavedRecording()), std::pair(std::size_t{1000}, true));

    // Closing with the recording unsaved asks whether to save; No leaves the file as prepared.
    dialogs_.yesNoAnswers = {false};
    EXPECT_TRUE(window_.close());
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_TRUE(dialogs_.asked[0].contains(QString::fromStdString(file_)));
    EXPECT_EQ(testdata::readBytes(file_).size(), 58u);
    // Nothing recorded into the prepared file: Play says so before it looks for a device.
    RecorderWindow empty(dialogs_, store_, RecorderRequest{file_, false, false});
    empty.play();
    EXPECT_EQ(dialogs_.messages.back().text, "Cannot play " + QString::fromStdString(file_) + ": it holds no samples yet.");

    // With one device of the two the notice names the one missing; with both it is silent.
    EXPECT_TRUE(deviceNotice(false, true).startsWith("No sound input device is available: Record is off."));
    EXPECT_TRUE(deviceNotice(true, false).startsWith("No sound output device is available: Play is off."));
    EXPECT_TRUE(deviceNotice(true, true).isEmpty());
}
