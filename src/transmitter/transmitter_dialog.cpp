#include "transmitter/transmitter_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "widgets/user_dialogs.h"
#include "settings/settings_store.h"

namespace tonobild {

namespace {

const QString kTitle = QStringLiteral("Transmitter");

// The methods in the order of the list, with their captions.
const std::pair<PttMethod, const char*> kMethods[] = {
    {PttMethod::None, "None (VOX or by hand): nothing is keyed"},
    {PttMethod::Cat, "CAT command to the rig"},
    {PttMethod::Rts, "RTS line of the serial port"},
    {PttMethod::Dtr, "DTR line of the serial port"},
};

QDoubleSpinBox* secondsBox(const QString& name)
{
    auto* box = new QDoubleSpinBox;
    box->setRange(0.0, kMaxKeyingSeconds);
    box->setDecimals(2);
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" s"));
    box->setAccessibleName(name);
    return box;
}

} // namespace

TransmitterDialog::TransmitterDialog(SettingsStore& store, UserDialogs& dialogs, PttOpener opener, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs), opener_(std::move(opener))
{
    setWindowTitle(kTitle);
    testTimer_.setSingleShot(true);
    connect(&testTimer_, &QTimer::timeout, this, &TransmitterDialog::endTest);
    buildFields();
    const StoredTransmitter stored = readTransmitterSettings(store_);
    showSettings(stored.settings);
    if (!stored.problems.empty()) {
        QString text = QStringLiteral("Stored values that cannot be used (the fields show the defaults; OK "
                                      "stores the fields):");
        for (const std::string& problem : stored.problems)
            text += QStringLiteral("\n- ") + QString::fromStdString(problem) + QLatin1Char('.');
        storedProblems_->setText(text);
    }
    storedProblems_->setVisible(!stored.problems.empty());
}

TransmitterDialog::~TransmitterDialog() = default;

void TransmitterDialog::buildFields()
{
    model_ = new QSpinBox;
    model_->setRange(1, 999999);
    model_->setAccessibleName(QStringLiteral("Rig model"));
    port_ = new QLineEdit;
    port_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0, or localhost:4532 for rigctld"));
    port_->setAccessibleName(QStringLiteral("Rig port"));
    method_ = new QComboBox;
    for (const auto& [method, caption] : kMethods)
        method_->addItem(QString::fromUtf8(caption), static_cast<int>(method));
    method_->setAccessibleName(QStringLiteral("PTT method"));
    lead_ = secondsBox(QStringLiteral("Lead before the audio"));
    tail_ = secondsBox(QStringLiteral("Tail after the audio"));
    storedProblems_ = new QLabel;
    storedProblems_->setWordWrap(true);
    status_ = new QLabel;
    status_->setWordWrap(true);
    testButton_ = new QPushButton(QStringLiteral("Test PTT"));
    testButton_->setToolTip(QStringLiteral("Keys the transmitter for one second with the settings as they stand"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rig model (Hamlib number):"), model_);
    form->addRow(QStringLiteral("Port:"), port_);
    form->addRow(QStringLiteral("PTT method:"), method_);
    form->addRow(QStringLiteral("Lead before the audio:"), lead_);
    form->addRow(QStringLiteral("Tail after the audio:"), tail_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(testButton_, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(storedProblems_);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(buttons);

    connect(testButton_, &QPushButton::clicked, this, &TransmitterDialog::testPtt);
    connect(buttons, &QDialogButtonBox::accepted, this, &TransmitterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TransmitterDialog::reject);
    connect(method_, &QComboBox::currentIndexChanged, this, &TransmitterDialog::updateTestButton);
}

void TransmitterDialog::showSettings(const TransmitterSettings& settings)
{
    model_->setValue(settings.rigModel);
    port_->setText(QString::fromStdString(settings.port));
    method_->setCurrentIndex(method_->findData(static_cast<int>(settings.ptt)));
    lead_->setValue(settings.leadSeconds);
    tail_->setValue(settings.tailSeconds);
    updateTestButton();
}

void TransmitterDialog::updateTestButton()
{
    const bool none = fields().ptt == PttMethod::None;
    testButton_->setEnabled(!none && !isTesting());
    status_->setText(none ? QStringLiteral("Transmissions play unkeyed.") : QString());
}

TransmitterSettings TransmitterDialog::fields() const
{
    TransmitterSettings settings;
    settings.rigModel = model_->value();
    settings.port = port_->text().trimmed().toStdString();
    settings.ptt = static_cast<PttMethod>(method_->currentData().toInt());
    settings.leadSeconds = lead_->value();
    settings.tailSeconds = tail_->value();
    return settings;
}

void TransmitterDialog::testPtt()
{
    if (isTesting() || fields().ptt == PttMethod::None)
        return;
    OpenedPtt opened = opener_(fields());
    if (!opened.problem.empty() || !opened.line) {
        status_->setText(QStringLiteral("Test failed."));
        dialogs_.message(this, kTitle, QString::fromStdString(opened.problem));
        return;
    }
    try {
        testLine_ = std::move(opened.line);
        testGuard_.emplace(*testLine_);
    } catch (const PttError& error) {
        testLine_.reset();
        status_->setText(QStringLiteral("Test failed."));
        dialogs_.message(this, kTitle, QString::fromUtf8(error.what()));
        return;
    }
    testButton_->setEnabled(false);
    status_->setText(QStringLiteral("TRANSMITTER KEYED (test, one second)"));
    testTimer_.start(kTestMs);
}

void TransmitterDialog::endTest()
{
    testTimer_.stop();
    if (!testGuard_)
        return;
    const std::string problem = testGuard_->release();
    testGuard_.reset();
    testLine_.reset();
    updateTestButton();
    if (problem.empty()) {
        status_->setText(QStringLiteral("Test done: keyed for one second and released."));
    } else {
        status_->setText(QStringLiteral("Test failed."));
        dialogs_.message(this, kTitle, QString::fromStdString(problem));
    }
}

void TransmitterDialog::accept()
{
    const TransmitterSettings settings = fields();
    if (const std::string problem = portProblem(settings); !problem.empty()) {
        dialogs_.message(this, kTitle, QStringLiteral("The settings are not stored: %1.")
                                           .arg(QString::fromStdString(problem)));
        return;
    }
    endTest();
    writeTransmitterSettings(store_, settings);
    if (const std::string problem = store_.takeWriteProblem(); !problem.empty())
        dialogs_.message(this, kTitle, QStringLiteral("The settings could not be stored: %1")
                                           .arg(QString::fromStdString(problem)));
    QDialog::accept();
}

void TransmitterDialog::reject()
{
    endTest();
    QDialog::reject();
}

} // namespace tonobild
