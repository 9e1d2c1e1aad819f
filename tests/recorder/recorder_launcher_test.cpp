// "Record" and "Play" of the station with a stand-in recorder that writes down
// the arguments it was given, one a line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <sys/stat.h>

#include "recorder/recorder_launcher.h"
#include "settings/memory_settings_store.h"
#include "support/test_data.h"

using namespace tonobild;

// Record prepares the file and passes a name with spaces as one argument; Play
// passes the switches and the file last, without touching it.
TEST(RecorderLauncher, RecordAndPlayPassTheFileAsOneArgumentLast)
{
    QTemporaryDir dir;
    // The stand-in's log is written beside and moved into place when complete.
    const std::string standIn = dir.filePath(QStringLiteral("stand-in recorder")).toStdString();
    std::ofstream(standIn) << "#!/bin/sh\nlog=\"$(dirname \"$0\")/arguments.txt\"\n"
                              "printf '%s\\n' \"$@\" > \"$log.part\"\nmv \"$log.part\" \"$log\"\n";
    std::filesystem::permissions(standIn, std::filesystem::perms::owner_all);
    const QString log = dir.filePath(QStringLiteral("arguments.txt"));
    // Waits for the stand-in to run and takes its log away, for the next run to write anew.
    const auto receivedArguments = [&log] {
        EXPECT_TRUE(QTest::qWaitFor([&log] { return QFile::exists(log); }, 10000)) << "the recorder did not run";
        const QString lines = QString::fromStdString(testdata::readText(log.toStdString()));
        QFile::remove(log);
        return lines;
    };

    const QString audio = dir.filePath(QStringLiteral("my recording.wav"));
    std::ofstream(audio.toStdString()) << std::string(1024 * 1024, '\x55'); // an old recording
    // A recorder that is not there or is no program is said, and the old recording is left as it was.
    MemorySettingsStore store;
    for (const QString& wrong : {dir.filePath(QStringLiteral("no recorder")), audio}) {
        SCOPED_TRACE(wrong.toStdString());
        store.write("Settings", "Recorder", wrong.toStdString());
        EXPECT_TRUE(startRecording(audio, store).startsWith("Cannot start the recorder " + wrong + ": "));
        EXPECT_EQ(testdata::readBytes(audio.toStdString()), std::vector<std::uint8_t>(1024 * 1024, 0x55));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // nothing left beside the recording
    store.write("Settings", "Recorder", standIn);
    // A named pipe is refused at once: opening it would wait for ever for a reader.
    const QString pipe = dir.filePath(QStringLiteral("pipe.wav"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(startRecording(pipe, store),
              "Cannot prepare the recording file " + pipe + ": it is a named pipe, not a recording file");
    // The recording, then a link to it: the link stays a link, and the recorder is given the
    // name it was started with. Each time the old recording is emptied to the prepared header
    // (whose bytes are RecordingFile's).
    const QString link = dir.filePath(QStringLiteral("link.wav"));
    std::filesystem::create_symlink(audio.toStdString(), link.toStdString());
    for (const QString& recording : {audio, link}) {
        std::filesystem::resize_file(audio.toStdString(), 1000);
        EXPECT_EQ(startRecording(recording, store), QString());
        EXPECT_EQ(testdata::readBytes(audio.toStdString()).size(), 58u);
        EXPECT_EQ(receivedArguments(), recording + '\n');
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    const QString named = dir.filePath(QStringLiteral("/play and more.wav"));
    EXPECT_EQ(startPlaying(named, store), QString());
    EXPECT_EQ(receivedArguments(), "/play\n/close\n" + named + '\n'); // one a line
}
