// The "Transmitter" dialog of the station: the rig that is keyed while a
// transmission plays, its port, the PTT method, the lead and the tail, kept in
// the settings store's section "Transmitter". "Test PTT" keys the rig as the
// fields stand for one second; the rig is opened, keyed, released and closed
// on the rig's own thread, so that the dialog answers while a rig is slow to.
// Values in the store that cannot be read are named above the fields and stay
// in the store until OK writes the fields.
#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>

#include "transmitter/ptt_line.h"
#include "transmitter/rig_thread.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tonobild {

class SettingsStore;
class UserDialogs;

class TransmitterDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTestMs = 1000;

    TransmitterDialog(SettingsStore& store, UserDialogs& dialogs, PttOpener opener, QWidget* parent = nullptr);
    // Releases a test still keyed, waiting for the rig's thread.
    ~TransmitterDialog() override;

    TransmitterSettings fields() const;
    // From Test PTT until the rig has answered the release.
    bool isTesting() const { return test_ != Test::Off; }

public slots:
    void testPtt();
    // Both end a test first; the dialog closes once the rig has answered the release.
    void accept() override; // writes the fields when they can be used
    void reject() override;

private:
    void buildFields();
    void showSettings(const TransmitterSettings& settings);
    void endTest();
    void closeAfterTest(DialogCode result);
    void onTestKeyed(bool keyed, const std::string& problem);
    void onTestEnded(bool wasKeyed, const std::string& problem);
    void updateTestButton();
    void showTestFailed(const std::string& problem);
    // Runs `reaction` on the dialog's thread, from the rig's thread.
    void answer(std::function<void()> reaction);

    SettingsStore& store_;
    UserDialogs& dialogs_;
    PttOpener opener_;
    // Touched on the rig's thread only.
    std::unique_ptr<PttLine> testLine_;
    std::optional<KeyGuard> testGuard_; // after testLine_: released before the line closes
    // Where Test PTT stands, as the dialog follows it; the rig answers in the order it was asked.
    enum class Test { Off, Keying, Keyed, Releasing } test_ = Test::Off;
    std::optional<DialogCode> closingWith_; // OK or Cancel waiting for the rig's answer
    QTimer testTimer_;

    QSpinBox* model_ = nullptr;
    QLineEdit* port_ = nullptr;
    QComboBox* method_ = nullptr;
    QDoubleSpinBox* lead_ = nullptr;
    QDoubleSpinBox* tail_ = nullptr;
    QLabel* storedProblems_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* testButton_ = nullptr;
    RigThread rig_; // last: goes first, releasing the test
};

} // namespace tonobild
