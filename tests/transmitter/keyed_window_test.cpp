// The recorder's window keying the stored transmitter around Play, with a
// stand-in rig and no sound device: the window says while it is keyed, and
// the failing output device, Stop, closing and the window's end all release.
// A stored transmitter that cannot be used is named and nothing is keyed.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "audio/recorder_window.h"
#include "audio/recording_file.h"
#include "fake_ptt_line.h"
#include "settings/memory_settings_store.h"
#include "support/fake_dialogs.h"
#include "support/no_sound_server.h"

using namespace tonobild;
using tonobild::testdata::FakeDialogs;
using tonobild::testdata::kNoSoundServer;
using tonobild::testdata::FakePttLine;
using tonobild::testdata::PttLog;

namespace {

using Calls = std::vector<std::string>;

class KeyedWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kNoSoundServer);
        ASSERT_TRUE(dir_.isValid());
        prepareRecordingFile(file_);
        writeTransmitterSettings(store_, {1035, "/dev/ttyUSB0", PttMethod::Cat, 0.2, 0.2});
        window_ = std::make_unique<RecorderWindow>(dialogs_, store_, RecorderRequest{file_, true, false},
                                                   [this](const TransmitterSettings& s) { return open(s); });
        window_->show();
    }

    OpenedPtt open(const TransmitterSettings& settings)
    {
        opened_.push_back(settings);
        if (!openProblem_.empty())
            return {nullptr, openProblem_};
        if (settings.ptt == PttMethod::None)
            return {};
        return {std::make_unique<FakePttLine>(log_), {}};
    }

    QString keyedNotice() const
    {
        for (auto* label : window_->findChildren<QLabel*>())
            if (label->isVisible() && label->text().startsWith(QStringLiteral("TRANSMITTER KEYED")))
                return label->text();
        return {};
    }

    // Plays something recorded in the window, so that no file needs to be read.
    void playSamples()
    {
        window_->addRecordedSamples(QByteArray(4410, '\x80'));
        window_->play();
    }

    QTemporaryDir dir_;
    std::string file_ = dir_.filePath(QStringLiteral("TONOBILD.WAV")).toStdString();
    FakeDialogs dialogs_;
    MemorySettingsStore store_;
    std::shared_ptr<PttLog> log_ = std::make_shared<PttLog>();
    std::vector<TransmitterSettings> opened_;
    std::string openProblem_;
    std::unique_ptr<RecorderWindow> window_;
};

TEST_F(KeyedWindowTest, KeyedInTheLeadReleasedWhenTheOutputDeviceFails)
{
    playSamples();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], (TransmitterSettings{1035, "/dev/ttyUSB0", PttMethod::Cat, 0.2, 0.2}));
    EXPECT_TRUE(window_->isTransmitterKeyed());
    EXPECT_EQ(keyedNotice(), "TRANSMITTER KEYED: Fake rig");
    EXPECT_TRUE(dialogs_.messages.empty());

    // After the lead the samples go to a device that is not there.
    QTRY_VERIFY_WITH_TIMEOUT(!dialogs_.messages.empty(), 3000);
    EXPECT_TRUE(dialogs_.messages[0].text.contains("No sound output device")) << dialogs_.messages[0].text.toStdString();
    EXPECT_FALSE(window_->isTransmitterKeyed());
    EXPECT_EQ(keyedNotice(), "");
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
}

TEST_F(KeyedWindowTest, StopClosingAndTheWindowsEndRelease)
{
    playSamples();
    window_->stop();
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
    EXPECT_EQ(keyedNotice(), "");

    log_->calls.clear();
    playSamples();
    dialogs_.yesNoAnswers = {false}; // do not save the recording
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));

    log_->calls.clear();
    window_->show();
    window_->play();
    window_.reset();
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(KeyedWindowTest, ALostRigStopsThePlayAndSaysSo)
{
    store_.write(kTransmitterSection, kLeadSecondsKey, "5");
    playSamples();
    log_->linkLost = true;
    QTRY_VERIFY_WITH_TIMEOUT(!dialogs_.messages.empty(), 3000);
    EXPECT_TRUE(dialogs_.messages[0].text.contains("Fake rig no longer answers"));
    EXPECT_FALSE(window_->isTransmitterKeyed());
    EXPECT_EQ(log_->calls.back(), "off");
}

TEST_F(KeyedWindowTest, AStoredValueThatIsNotANumberKeysNothing)
{
    store_.write(kTransmitterSection, kTailSecondsKey, "soon");
    playSamples();
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(log_->calls.empty());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.contains("Transmitter/Tail Seconds is \"soon\""));
    EXPECT_TRUE(dialogs_.messages[0].text.contains("Nothing was played."));
    EXPECT_EQ(store_.read(kTransmitterSection, kTailSecondsKey, ""), "soon");
}

TEST_F(KeyedWindowTest, ARigThatCannotBeOpenedOrKeyedIsNamedAndNothingPlays)
{
    openProblem_ = "Cannot open the rig Yaesu FT-991 (model 1035) at /dev/ttyUSB0: IO error.";
    playSamples();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, QString::fromStdString(openProblem_) + " Nothing was played.");

    openProblem_.clear();
    log_->failOnCount = 1;
    window_->play();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1].text, "Fake rig did not key. Nothing was played.");
    EXPECT_FALSE(window_->isTransmitterKeyed());
    EXPECT_EQ(keyedNotice(), "");
}

TEST_F(KeyedWindowTest, WithMethodNoneNothingIsKeyed)
{
    store_.write(kTransmitterSection, kPttMethodKey, "none");
    playSamples();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].ptt, PttMethod::None);
    EXPECT_TRUE(log_->calls.empty());
    EXPECT_EQ(keyedNotice(), "");
    ASSERT_EQ(dialogs_.messages.size(), 1u); // unkeyed, the play goes straight to the missing device
    EXPECT_TRUE(dialogs_.messages[0].text.contains("No sound output device"));
}

} // namespace
