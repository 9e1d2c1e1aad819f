// "Record" and "Play" of the station with a stand-in recorder that writes down
// the arguments it was given.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "audio/recorder_launcher.h"
#include "audio/wav_header.h"
#include "settings/memory_settings_store.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

class RecorderLauncher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        standIn_ = dir_.filePath(QStringLiteral("stand-in recorder"));
        log_ = dir_.filePath(QStringLiteral("arguments.txt"));
        QFile script(standIn_);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // One argument a line, written beside and moved into place when complete.
        script.write("#!/bin/sh\n"
                     "log=\"$(dirname \"$0\")/arguments.txt\"\n"
                     "printf '%s\\n' \"$@\" > \"$log.part\"\n"
                     "mv \"$log.part\" \"$log\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        store_.write("Settings", "Recorder", standIn_.toStdString());
    }

    // The arguments the stand-in recorder received, waiting for it to run.
    QStringList receivedArguments()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!QFile::exists(log_) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<the recorder did not run>")};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        lines.removeLast(); // after the last newline
        return lines;
    }

    std::vector<std::uint8_t> header() const
    {
        const auto h = recordingHeader();
        return {h.begin(), h.end()};
    }

    QTemporaryDir dir_;
    QString standIn_;
    QString log_;
    MemorySettingsStore store_;
};

} // namespace

TEST_F(RecorderLauncher, RecordPreparesTheFileAndPassesANameWithSpacesAsOneArgument)
{
    const QString audio = dir_.filePath(QStringLiteral("my recording.wav"));
    {
        QFile old(audio);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1024 * 1024, '\x55'));
    }
    EXPECT_EQ(startRecording(audio, store_), QString());
    EXPECT_EQ(testdata::readBytes(audio.toStdString()), header());
    EXPECT_EQ(receivedArguments(), QStringList{audio});
}

TEST_F(RecorderLauncher, PlayPassesTheSwitchesAndTheFileLastWithoutTouchingIt)
{
    const QString audio = dir_.filePath(QStringLiteral("/play and more.wav"));
    EXPECT_EQ(startPlaying(audio, store_), QString());
    EXPECT_EQ(receivedArguments(), (QStringList{QStringLiteral("/play"), QStringLiteral("/close"), audio}));
    EXPECT_FALSE(QFile::exists(audio)); // a missing file stays missing
}

TEST_F(RecorderLauncher, AFileThatCannotBePreparedIsNamedAndNoRecorderStarts)
{
    const QString audio = dir_.filePath(QStringLiteral("missing folder/x.wav"));
    const QString message = startRecording(audio, store_);
    EXPECT_TRUE(message.contains(audio)) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("No such file"))) << message.toStdString();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(QFile::exists(log_));
}

TEST_F(RecorderLauncher, ARecorderThatCannotBeStartedIsNamed)
{
    for (const QString& program : {dir_.filePath(QStringLiteral("no-such-recorder")),
                                   QStringLiteral("tonobild-no-such-recorder")}) {
        store_.write("Settings", "Recorder", program.toStdString());
        const QString audio = dir_.filePath(QStringLiteral("x.wav"));
        const QString message = startRecording(audio, store_);
        EXPECT_TRUE(message.contains(program)) << message.toStdString();
        EXPECT_EQ(testdata::readBytes(audio.toStdString()), header()); // the file was prepared first
        const QString played = startPlaying(audio, store_);
        EXPECT_TRUE(played.contains(program)) << played.toStdString();
    }
}

TEST_F(RecorderLauncher, TheStoredRecorderWinsElseTheOneBesideTheStationElseTheSearchPath)
{
    EXPECT_EQ(recorderProgram(store_), standIn_);
    MemorySettingsStore empty;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tonobild-recorder"));
    if (QFile::exists(beside))
        EXPECT_EQ(recorderProgram(empty), beside);
    else
        EXPECT_EQ(recorderProgram(empty), QStringLiteral("tonobild-recorder"));
}
