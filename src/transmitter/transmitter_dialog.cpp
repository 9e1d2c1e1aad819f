#include "transmitter/transmitter_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
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

TransmitterDialog::~TransmitterDialog()
{
    // A test still keyed is released on the rig's thread; the dialog waits for
    // it, and a release that failed is said.
    endTest();
    closingWith_.reset(); // going already
    rig_.finishQueued();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TransmitterDialog::answer(std::function<void()> reaction)
{
    QMetaObject::invokeMethod(this, std::move(reaction), Qt::QueuedConnection);
}

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
    test_ = Test::Keying;
    updateTestButton();
    status_->setText(QStringLiteral("Keying the transmitter: waiting for the rig."));
    rig_.post([this, opener = opener_, settings = fields()] {
        OpenedPtt opened = opener(settings);
        std::string problem = opened.problem;
        if (problem.empty() && opened.line) {
            try {
                testLine_ = std::move(opened.line);
                testGuard_.emplace(*testLine_);
            } catch (const PttError& error) {
                testLine_.reset();
                problem = error.what();
            }
        }
        answer([this, keyed = testGuard_.has_value(), problem] { onTestKeyed(keyed, problem); });
    });
}

void TransmitterDialog::onTestKeyed(bool keyed, const std::string& problem)
{
    if (!keyed) {
        if (test_ == Test::Keying)
            test_ = Test::Off;
        showTestFailed(problem);
        return;
    }
    if (test_ != Test::Keying)
        return; // ended meanwhile: the release follows
    test_ = Test::Keyed;
    status_->setText(QStringLiteral("TRANSMITTER KEYED (test, one second)"));
    testTimer_.start(kTestMs);
}

void TransmitterDialog::endTest()
{
    testTimer_.stop();
    if (test_ != Test::Keying && test_ != Test::Keyed)
        return;
    test_ = Test::Releasing;
    rig_.post([this] {
        const bool wasKeyed = testGuard_.has_value();
        const std::string problem = wasKeyed ? testGuard_->release() : std::string();
        testGuard_.reset();
        testLine_.reset();
        answer([this, wasKeyed, problem] { onTestEnded(wasKeyed, problem); });
    });
}

void TransmitterDialog::onTestEnded(bool wasKeyed, const std::string& problem)
{
    test_ = Test::Off;
    if (!problem.empty()) {
        showTestFailed(problem);
    } else {
        updateTestButton();
        if (wasKeyed) // else a key that failed has been said
            status_->setText(QStringLiteral("Test done: keyed for one second and released."));
    }
    if (closingWith_)
        done(*std::exchange(closingWith_, std::nullopt));
}

void TransmitterDialog::showTestFailed(const std::string& problem)
{
    updateTestButton();
    status_->setText(QStringLiteral("Test failed."));
    dialogs_.message(this, kTitle, QString::fromStdString(problem));
}

void TransmitterDialog::accept()
{
    const TransmitterSettings settings = fields();
    if (const std::string problem = portProblem(settings); !problem.empty()) {
        dialogs_.message(this, kTitle, QStringLiteral("The settings are not stored: %1.")
                                           .arg(QString::fromStdString(problem)));
        return;
    }
    writeTransmitterSettings(store_, settings);
    if (const std::string problem = store_.takeWriteProblem(); !problem.empty())
        dialogs_.message(this, kTitle, QStringLiteral("The settings could not be stored: %1")
                                           .arg(QString::fromStdString(problem)));
    closeAfterTest(Accepted);
}

void TransmitterDialog::reject()
{
    closeAfterTest(Rejected);
}

void TransmitterDialog::closeAfterTest(DialogCode result)
{
    endTest();
    if (!isTesting()) {
        done(result);
        return;
    }
    // The dialog stays, answering, until the rig has answered the release.
    closingWith_ = result;
    status_->setText(QStringLiteral("Releasing the transmitter: waiting for the rig."));
}

} // namespace tonobild
