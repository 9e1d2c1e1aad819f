// The recorder's window on the offscreen platform without any sound device:
// clear messages instead of a crash, nothing recorded lost, and Save writing
// the samples after the recording header with the sizes set. Samples come in
// through the window's own entry for what the input device delivers.
#include "recorder/recorder_window.h"
#include "soundfile/recording_file.h"
#include "soundfile/wav_file.h"
#include "recorder/window_text.h"
#include "support/fake_dialogs.h"
#include "support/no_sound_server.h"
#include "support/test_data.h"

using namespace tonobild;
using namespace tonobild::testdata;

// Without devices Record and Play are off and the window says why; called all the same Record
// says so and keeps what was recorded, closing asks to save it, and Save writes it.
using RecorderWindowTest = WindowTest;

TEST_F(RecorderWindowTest, WithoutDevicesRecordAndPlayAreOffAndSayWhyWhatWasRecordedIsKeptAndSaveWritesIt)
{
    ASSERT_TRUE(kNoSoundServer && folder.isValid());
    const std::string file = folder.filePath(QStringLiteral("TONOBILD.WAV")).toStdString();
    prepareRecordingFile(file);
    RecorderWindow window(dialogs, store, RecorderRequest{file, false, false});
    window.show();
    ASSERT_TRUE(button(window, "Record") && button(window, "Play"));
    EXPECT_FALSE(button(window, "Record")->isEnabled() || button(window, "Play")->isEnabled());
    EXPECT_TRUE(visibleText(window).contains("No sound input or output device is available: Record and Play are off."));

    // Called all the same, Record says so and keeps what was recorded (Play's message: KeyedWindowTest).
    const QByteArray recorded = QByteArray(30001, '\xe0') + QByteArray(6, '\x1f');
    window.addRecordedSamples(recorded.first(30001)); // in two parts, as a device delivers them
    window.addRecordedSamples(recorded.sliced(30001));
    window.record();
    EXPECT_EQ(dialogs.messages.filter("No sound input device").size(), 1); // and no more: see below
    EXPECT_EQ(std::pair(window.recording().size(), window.hasUnsavedRecording()), std::pair(std::size_t{30007}, true));

    // Closing with the recording unsaved asks whether to save; No leaves the file as prepared.
    EXPECT_TRUE(window.close());
    EXPECT_EQ(dialogs.asked.filter(QString::fromStdString(file)).size(), 1);
    // Nothing recorded into the prepared file (closing with No left it so): Play says so before it
    // looks for a device.
    RecorderWindow empty(dialogs, store, RecorderRequest{file, false, false});
    empty.play();
    EXPECT_EQ(dialogs.messages.back(), "Cannot play " + QString::fromStdString(file) + ": it holds no samples yet.");

    // Save writes the samples after the header with the sizes set, and says nothing.
    ASSERT_TRUE(window.save());
    const auto bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), 58u + 30007u + 1u); // an odd count gets a pad byte
    // RIFF: everything after the field; "fact": samples; "data": without the pad byte.
    EXPECT_EQ(std::tuple(littleEndian(bytes, 4), littleEndian(bytes, 46), littleEndian(bytes, 54)),
              std::tuple(30058u, 30007u, 30007u));
    EXPECT_EQ(readWavFile(file).data, std::vector<std::uint8_t>(recorded.begin(), recorded.end()));
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(deviceNotice(true, true).isEmpty()); // with both devices the window is silent about them
}
