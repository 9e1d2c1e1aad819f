// "Record" and "Play" of the station with a stand-in recorder that writes down
// the arguments it was given, one a line.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "audio/recorder_launcher.h"
#include "settings/memory_settings_store.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

class RecorderLauncher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        const std::string standIn = dir_.filePath(QStringLiteral("stand-in recorder")).toStdString();
        // The log is written beside and moved into place when complete.
        std::ofstream(standIn) << "#!/bin/sh\nlog=\"$(dirname \"$0\")/arguments.txt\"\n"
                                  "printf '%s\\n' \"$@\" > \"$log.part\"\nmv \"$log.part\" \"$log\"\n";
        std::filesystem::permissions(standIn, std::filesystem::perms::owner_all);
        store_.write("Settings", "Recorder", standIn);
    }

    // The arguments the stand-in recorder received, waiting for it to run.
    QStringList receivedArguments()
    {
        QFile file(log_);
        if (!QTest::qWaitFor([this] { return QFile::exists(log_); }, 10000) || !file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<the recorder did not run>")};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        lines.removeLast(); // after the last newline
        return lines;
    }

    QTemporaryDir dir_;
    QString log_ = dir_.filePath(QStringLiteral("arguments.txt"));
    MemorySettingsStore store_;
};

} // namespace

// Record prepares the file and passes a name with spaces as one argument; Play
// passes the switches and the file last, without touching it.
TEST_F(RecorderLauncher, RecordAndPlayPassTheFileAsOneArgumentLast)
{
    const QString audio = dir_.filePath(QStringLiteral("my recording.wav"));
    {
        QFile old(audio);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1024 * 1024, '\x55'));
    }
    EXPECT_EQ(startRecording(audio, store_), QString());
    EXPECT_EQ(testdata::readBytes(audio.toStdString()).size(), 58u); // the header bytes are checked elsewhere
    EXPECT_EQ(receivedArguments(), QStringList{audio});

    QFile::remove(log_);
    const QString named = dir_.filePath(QStringLiteral("/play and more.wav"));
    EXPECT_EQ(startPlaying(named, store_), QString());
    EXPECT_EQ(receivedArguments(), (QStringList{QStringLiteral("/play"), QStringLiteral("/close"), named}));
    EXPECT_FALSE(QFile::exists(named));
}
