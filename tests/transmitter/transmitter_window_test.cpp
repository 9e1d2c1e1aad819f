// The recorder's window and the Transmitter dialog keying the stored
// transmitter, with a stand-in rig and no sound device.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "recorder/recorder_window.h"
#include "recorder/window_text.h"
#include "fake_ptt_line.h"
#include "support/fake_dialogs.h"
#include "support/no_sound_server.h"
#include "transmitter/transmitter_dialog.h"

using namespace tonobild;
using namespace tonobild::testdata;

namespace {

// The stored transmitter, the answered dialogs and the stand-in rig that the
// windows open on the rig's thread; the settings each opening asked for are
// kept. The test reads and sets them only while the rig's thread is idle.
class StandInRig : public WindowTest {
protected:
    std::shared_ptr<PttLog> log_ = std::make_shared<PttLog>();
    std::shared_ptr<RigGate> gate_; // set: the rig is silent until the test lets it answer
    std::vector<TransmitterSettings> opened_;
    std::string openProblem_;
    PttOpener opener_ = [this](const TransmitterSettings& settings) -> OpenedPtt {
        opened_.push_back(settings);
        if (!openProblem_.empty() || settings.ptt == PttMethod::None)
            return {nullptr, openProblem_};
        return {std::make_unique<FakePttLine>(log_, gate_), {}};
    };
};

// Until the window has heard the rig's last answer.
bool played(const RecorderWindow& window)
{
    return QTest::qWaitFor([&] { return !window.isPlaying(); }, 3000);
}

using KeyedWindowTest = StandInRig;

// Keyed in the lead with the stored transmitter; Stop, closing, an output device that fails
// after the lead and the window's end each release it. With PTT method none nothing is keyed.
// A stored value that is not a number opens nothing; a rig that cannot be opened or keyed is
// named; none of them plays. (A rig lost while keyed: keyed_play_test.sh.)
TEST_F(KeyedWindowTest, KeyedInTheLeadReleasedOnEveryWayOutAndATransmitterThatCannotBeUsedIsNamedAndPlaysNothing)
{
    ASSERT_TRUE(kNoSoundServer);
    writeTransmitterSettings(store, {1035, "/dev/ttyUSB0", PttMethod::Cat, 0.2, 0.2});
    // The recording is played from memory and never saved: its file is never touched.
    auto window = std::make_unique<RecorderWindow>(dialogs, store,
                                                   RecorderRequest{"/nonexistent/T.WAV", false, false}, opener_);
    window->addRecordedSamples(QByteArray(4410, '\x80'));
    window->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isTransmitterKeyed(); }, 3000));
    EXPECT_EQ(opened_, (std::vector<TransmitterSettings>{{1035, "/dev/ttyUSB0", PttMethod::Cat, 0.2, 0.2}}));
    EXPECT_TRUE(visibleText(*window).contains("TRANSMITTER KEYED: Fake rig\n"));
    window->stop();
    ASSERT_TRUE(played(*window));
    EXPECT_FALSE(window->isTransmitterKeyed() || visibleText(*window).contains("TRANSMITTER KEYED")); // nor shown
    window->play();
    EXPECT_TRUE(window->close()); // the recording not saved: the dialogs answer No
    ASSERT_TRUE(played(*window));
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "on", "off"}));
    EXPECT_TRUE(dialogs.messages.isEmpty()); // Stop and the close released without a word

    // After the lead the samples go to a device that is not there; with PTT
    // method none the play goes there at once, keying nothing.
    window->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }, 3000)); // released: see the calls below
    store.write(kTransmitterSection, kPttMethodKey, "none");
    window->play();
    ASSERT_TRUE(played(*window));
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "on", "off", "on", "off"}));
    EXPECT_EQ(dialogs.messages.filter("No sound output device").size(), 2); // and no more: see below

    store.write(kTransmitterSection, kPttMethodKey, "cat");
    store.write(kTransmitterSection, kTailSecondsKey, "soon");
    window->play();
    EXPECT_EQ(opened_.size(), 4u); // nothing more opened
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_TRUE(dialogs.messages.last().contains("Transmitter/Tail Seconds is \"soon\""));
    store.write(kTransmitterSection, kTailSecondsKey, "0.2");
    openProblem_ = "Cannot open the rig Yaesu FT-991 (model 1035) at /dev/ttyUSB0: IO error.";
    window->play();
    ASSERT_TRUE(played(*window));
    openProblem_.clear();
    log_->failOnCount = 1;
    window->play();
    ASSERT_TRUE(played(*window));
    EXPECT_EQ(dialogs.messages.mid(3),
              (QStringList{"Cannot open the rig Yaesu FT-991 (model 1035) at /dev/ttyUSB0: IO error. Nothing was played.",
                           "Fake rig did not key. Nothing was played."}));

    window->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isTransmitterKeyed(); }, 3000));
    window.reset(); // the window's end, in the lead
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "on", "off", "on", "off", "on", "on", "off"})); // one "on" refused
    EXPECT_EQ(dialogs.messages.size(), 5); // the window's end said nothing
}

class TransmitterDialogTest : public StandInRig {
protected:
    template <typename T>
    T* field(const char* name) { return control<T>(*dialog_, name, &QWidget::accessibleName); }
    // The PTT method by its place in the list (1: CAT, 3: DTR) and the rig port.
    void choose(int method, const char* port)
    { field<QComboBox>("PTT method")->setCurrentIndex(method); field<QLineEdit>("Rig port")->setText(port); }

    std::unique_ptr<TransmitterDialog> dialog_ = std::make_unique<TransmitterDialog>(store, dialogs, opener_);
};

// Values that cannot be used are named, shown as their defaults and stay stored until OK writes
// the fields (every key's sentence: TransmitterSettings.
// StoredTextIsReadAndWrittenAsPlainTextAValueThatCannotBeTakenIsNamedAndEveryProblemReported).
// Test PTT keys for one second with the fields as they stand, reports a failing rig, and
// leaving the dialog during a test releases.
TEST_F(TransmitterDialogTest, FieldsShowTheStoreUnusableValuesAreNamedAndKeptUntilOkTestPttKeysForOneSecond)
{
    EXPECT_FALSE(button(*dialog_, "Test PTT")->isEnabled()); // method none: nothing to key
    writeTransmitterSettings(store, {2, "localhost:4532", PttMethod::Cat, 0.3, 0.7});
    store.write(kTransmitterSection, kLeadSecondsKey, "half");
    dialog_ = std::make_unique<TransmitterDialog>(store, dialogs, opener_);
    EXPECT_TRUE(visibleText(*dialog_).contains("Transmitter/Lead Seconds is \"half\""));
    EXPECT_EQ(dialog_->fields(), (TransmitterSettings{2, "localhost:4532", PttMethod::Cat, 0.5, 0.7}));
    choose(3, "localhost:4532"); // DTR on a network address: refused, nothing written
    dialog_->accept();
    // The reason is the settings' own (RigPort): here that it reaches the user.
    EXPECT_TRUE(dialogs.messages.value(0).startsWith("The settings are not stored: PTT by DTR needs a serial device"));
    EXPECT_EQ(store.read(kTransmitterSection, kLeadSecondsKey, ""), "half");
    field<QSpinBox>("Rig model")->setValue(1035);
    choose(3, " /dev/ttyUSB1 ");
    field<QDoubleSpinBox>("Lead before the audio")->setValue(1.5);
    dialog_->accept();
    // The port trimmed; the stored text itself is shown by the settings' own tests.
    EXPECT_EQ(readTransmitterSettings(store).settings,
              (TransmitterSettings{1035, "/dev/ttyUSB1", PttMethod::Dtr, 1.5, 0.7}));
    EXPECT_EQ(dialogs.messages.size(), 1); // nothing more was said

    // Test PTT with the fields as they stand: the rig model changed since OK.
    field<QSpinBox>("Rig model")->setValue(2);
    QTest::mouseClick(button(*dialog_, "Test PTT"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return visibleText(*dialog_).contains("TRANSMITTER KEYED"); }, 3000));
    EXPECT_EQ(opened_, (std::vector<TransmitterSettings>{{2, "/dev/ttyUSB1", PttMethod::Dtr, 1.5, 0.7}}));
    QTest::qWait(TransmitterDialog::kTestMs / 2);
    EXPECT_EQ(log_->calls, (Calls{"on"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_->isTesting(); }, 2 * TransmitterDialog::kTestMs));
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));

    // A rig that fails the test is reported; leaving the dialog during a test releases.
    log_->failOnCount = 1;
    dialog_->testPtt(); // the rig's refusal ends the test: the next one starts
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_->isTesting(); }, 3000));
    log_->failOffCount = 2;
    dialog_->testPtt();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_->isTesting(); }, 2 * TransmitterDialog::kTestMs));
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialogs.messages[1], "Fake rig did not key");
    EXPECT_TRUE(dialogs.messages[2].contains("may still be keyed"));

    log_->calls.clear(); // both failed releases used up
    dialog_->testPtt();
    dialog_->reject(); // Cancel
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_->isTesting(); }, 3000));
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
    dialog_->testPtt();
    dialog_.reset(); // the dialog's end
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "on", "off"}));
}

using SilentRigTest = TransmitterDialogTest;

// A rig silent until its timeout holds up the rig's thread only: while Test PTT and Play wait for
// it, a timer of the window fires on time, and Cancel and Stop are taken at once; once the rig
// answers, the test and the play are released and the dialog closes.
TEST_F(SilentRigTest, WhileTheRigIsSilentTheWindowsTimersFireOnTimeAndTheKeyIsReleasedOnceItAnswers)
{
    ASSERT_TRUE(kNoSoundServer);
    // A timer of 100 ms started before `action`, and whether it fired before 400 ms had passed.
    const auto timerFiresOnTime = [](const std::function<void()>& action) {
        QElapsedTimer clock;
        clock.start();
        qint64 firedAfter = -1;
        QTimer::singleShot(100, [&] { firedAfter = clock.elapsed(); });
        action();
        return QTest::qWaitFor([&] { return firedAfter >= 0; }, 1000) && firedAfter < 400;
    };
    gate_ = std::make_shared<RigGate>();
    choose(1, "/dev/ttyUSB0");
    dialog_->show();
    EXPECT_TRUE(timerFiresOnTime([&] { QTest::mouseClick(button(*dialog_, "Test PTT"), Qt::LeftButton); }));
    EXPECT_TRUE(dialog_->isTesting() && visibleText(*dialog_).contains("waiting for the rig"));
    EXPECT_TRUE(timerFiresOnTime([&] { dialog_->reject(); })); // Cancel: the dialog stays until the rig answers
    EXPECT_TRUE(dialog_->isVisible() && dialog_->isTesting());
    gate_->letAnswer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_->isVisible(); }, 3000));
    EXPECT_EQ(std::pair(dialog_->isTesting(), log_->calls), std::pair(false, Calls{"on", "off"}));

    gate_ = std::make_shared<RigGate>();
    writeTransmitterSettings(store, {1035, "/dev/ttyUSB0", PttMethod::Cat, 0.2, 0.2});
    RecorderWindow window(dialogs, store, RecorderRequest{"/nonexistent/T.WAV", false, false}, opener_);
    window.addRecordedSamples(QByteArray(4410, '\x80'));
    EXPECT_TRUE(timerFiresOnTime([&] { window.play(); }));
    window.stop();
    EXPECT_TRUE(window.isPlaying() && !window.isTransmitterKeyed()); // the release waits for the rig's answer
    gate_->letAnswer();
    ASSERT_TRUE(played(window));
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "on", "off"}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
