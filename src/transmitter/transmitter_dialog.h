// The "Transmitter" dialog of the station: the rig that is keyed while a
// transmission plays, its port, the PTT method, the lead and the tail, kept in
// the settings store's section "Transmitter". "Test PTT" keys the rig as the
// fields stand for one second. Values in the store that cannot be read are
// named above the fields and stay in the store until OK writes the fields.
#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>

#include "transmitter/ptt_line.h"

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
    ~TransmitterDialog() override;

    TransmitterSettings fields() const;
    bool isTesting() const { return testGuard_.has_value(); }

public slots:
    void testPtt();
    void accept() override; // writes the fields when they can be used
    void reject() override;

private:
    void buildFields();
    void showSettings(const TransmitterSettings& settings);
    void endTest();
    void updateTestButton();

    SettingsStore& store_;
    UserDialogs& dialogs_;
    PttOpener opener_;
    std::unique_ptr<PttLine> testLine_;
    std::optional<KeyGuard> testGuard_; // after testLine_: released before the line closes
    QTimer testTimer_;

    QSpinBox* model_ = nullptr;
    QLineEdit* port_ = nullptr;
    QComboBox* method_ = nullptr;
    QDoubleSpinBox* lead_ = nullptr;
    QDoubleSpinBox* tail_ = nullptr;
    QLabel* storedProblems_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* testButton_ = nullptr;
};

} // namespace tonobild
