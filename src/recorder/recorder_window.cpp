#include "recorder/recorder_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/user_dialogs.h"
#include "common/file_error.h"
#include "settings/settings_store.h"

namespace tonobild {

namespace {

const QString kTitle = QStringLiteral("Tonobild Recorder");

// Reads the recording file to be played; answers why it cannot be played, or empty.
QString readRecordingToPlay(const std::string& file, WavAudio& audio)
{
    try {
        audio = readWavFile(file);
    } catch (const FileError& error) {
        return QString::fromStdString(error.reason());
    } catch (const WavFormatError& error) {
        return QString::fromUtf8(error.what());
    }
    // A recording prepared and never filled: keying the transmitter for silence helps nobody.
    return audio.data.empty() ? QStringLiteral("it holds no samples yet") : QString();
}

} // namespace

QString deviceNotice(bool hasInput, bool hasOutput)
{
    const QString advice = QStringLiteral("Connect one, or start the sound server, and open the recorder again.");
    if (!hasInput && !hasOutput)
        return QStringLiteral("No sound input or output device is available: Record and Play are off. ") + advice;
    if (!hasInput)
        return QStringLiteral("No sound input device is available: Record is off. ") + advice;
    if (!hasOutput)
        return QStringLiteral("No sound output device is available: Play is off. ") + advice;
    return {};
}

QString elapsedText(std::size_t samples)
{
    const std::size_t tenths = samples / (kRecordingRate / 10);
    const std::size_t seconds = tenths / 10;
    return QStringLiteral("%1:%2.%3")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

RecorderWindow::RecorderWindow(UserDialogs& dialogs, SettingsStore& store, RecorderRequest request,
                               PttOpener openPtt, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), store_(store), request_(std::move(request)), openPtt_(std::move(openPtt))
{
    const QString file = QString::fromStdString(request_.file);
    setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(file).fileName(), kTitle));
    buildControls();
    layOut(file);
    connectControls();
    fillDevices();
    connect(inputs_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (inputs_->isEnabled())
            store_.write(kRecorderSection, kInputDeviceKey, name.toStdString());
    });
    connect(outputs_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (outputs_->isEnabled())
            store_.write(kRecorderSection, kOutputDeviceKey, name.toStdString());
    });
    updateControls();
}

void RecorderWindow::buildControls()
{
    recordButton_ = new QPushButton(QStringLiteral("Record"), this);
    stopButton_ = new QPushButton(QStringLiteral("Stop"), this);
    playButton_ = new QPushButton(QStringLiteral("Play"), this);
    saveButton_ = new QPushButton(QStringLiteral("Save"), this);
    recordButton_->setToolTip(QStringLiteral("Record (space bar)"));
    stopButton_->setToolTip(QStringLiteral("Stop (space bar while recording)"));
    level_ = new QProgressBar(this);
    level_->setRange(0, 128);
    level_->setTextVisible(false);
    level_->setAccessibleName(QStringLiteral("Input level"));
    elapsed_ = new QLabel(elapsedText(0), this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    keyedNotice_ = new QLabel(this);
    keyedNotice_->setStyleSheet(QStringLiteral("QLabel { background: #c00000; color: white; font-weight: bold; "
                                               "padding: 4px; }"));
    keyedNotice_->setVisible(false);
    deviceNotice_ = new QLabel(this);
    deviceNotice_->setWordWrap(true);
    inputs_ = new QComboBox(this);
    outputs_ = new QComboBox(this);

    // The space bar belongs to recording: no button or list takes it as a key.
    for (QWidget* w : std::initializer_list<QWidget*>{recordButton_, stopButton_, playButton_, saveButton_, inputs_,
                                                      outputs_})
        w->setFocusPolicy(Qt::NoFocus);
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    connect(space, &QShortcut::activated, this, [this] {
        if (engine_.isRecording())
            stop();
        else if (recordButton_->isEnabled())
            record();
    });
}

void RecorderWindow::layOut(const QString& file)
{
    auto* levelLabel = new QLabel(QStringLiteral("Input level:"), this);
    levelLabel->setBuddy(level_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {recordButton_, stopButton_, playButton_, saveButton_})
        buttons->addWidget(b);
    auto* meter = new QHBoxLayout;
    meter->addWidget(levelLabel);
    meter->addWidget(level_, 1);
    meter->addWidget(elapsed_);
    auto* devices = new QFormLayout;
    devices->addRow(QStringLiteral("Input:"), inputs_);
    devices->addRow(QStringLiteral("Output:"), outputs_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("File: %1").arg(file), this));
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("Space bar: start and stop recording."), this));
    layout->addLayout(meter);
    layout->addLayout(devices);
    layout->addWidget(keyedNotice_);
    layout->addWidget(deviceNotice_);
    layout->addWidget(status_);
}

void RecorderWindow::connectControls()
{
    connect(recordButton_, &QPushButton::clicked, this, &RecorderWindow::record);
    connect(stopButton_, &QPushButton::clicked, this, &RecorderWindow::stop);
    connect(playButton_, &QPushButton::clicked, this, &RecorderWindow::play);
    connect(saveButton_, &QPushButton::clicked, this, &RecorderWindow::save);
    connect(&engine_, &AudioEngine::samplesRecorded, this, &RecorderWindow::addRecordedSamples);
    connect(&engine_, &AudioEngine::recordingFailed, this, [this](const QString& reason) {
        updateControls();
        dialogs_.message(this, kTitle, reason + QStringLiteral("\nWhat was recorded before is kept."));
    });
    connect(&player_, &KeyedPlayer::finished, this, &RecorderWindow::onPlayingEnded);
    connect(&player_, &KeyedPlayer::stopped, this, &RecorderWindow::onPlayingStopped);
    connect(&player_, &KeyedPlayer::keyedChanged, this, &RecorderWindow::showKeyed);
    connect(&player_, &KeyedPlayer::samplesStarted, this, [this](const QString& description) {
        showStatus(QStringLiteral("Playing: %1.").arg(description));
    });
}

RecorderWindow::~RecorderWindow() = default;

void RecorderWindow::fillDevices()
{
    const auto fill = [](QComboBox* box, const QList<QAudioDevice>& devices, const QAudioDevice& chosen,
                         const QString& none) {
        box->clear();
        for (const QAudioDevice& d : devices)
            box->addItem(d.description());
        if (devices.isEmpty()) {
            box->addItem(none);
            box->setEnabled(false);
        } else {
            box->setCurrentText(chosen.description());
        }
    };
    const QString storedInput = QString::fromStdString(store_.read(kRecorderSection, kInputDeviceKey, ""));
    const QString storedOutput = QString::fromStdString(store_.read(kRecorderSection, kOutputDeviceKey, ""));
    fill(inputs_, AudioEngine::inputs(), AudioEngine::findInput(storedInput), QStringLiteral("(no input device)"));
    fill(outputs_, AudioEngine::outputs(), AudioEngine::findOutput(storedOutput),
         QStringLiteral("(no output device)"));
}

void RecorderWindow::updateControls()
{
    const bool recording = engine_.isRecording();
    const bool playing = player_.isBusy();
    const bool canRecord = !AudioEngine::inputs().isEmpty();
    const bool canPlay = !AudioEngine::outputs().isEmpty();
    recordButton_->setEnabled(canRecord && !recording && !playing);
    stopButton_->setEnabled(recording || playing);
    playButton_->setEnabled(canPlay && !recording && !playing);
    saveButton_->setEnabled(!recording && unsaved_);
    inputs_->setEnabled(canRecord && !recording);
    deviceNotice_->setText(deviceNotice(canRecord, canPlay));
    deviceNotice_->setVisible(!deviceNotice_->text().isEmpty());
    if (!recording)
        level_->setValue(0);
}

void RecorderWindow::showStatus(const QString& text)
{
    status_->setText(text);
}

void RecorderWindow::record()
{
    if (engine_.isRecording() || player_.isBusy())
        return;
    const QString problem = engine_.startRecording(AudioEngine::findInput(inputs_->isEnabled() ? inputs_->currentText()
                                                                                               : QString()));
    if (!problem.isEmpty()) {
        updateControls();
        dialogs_.message(this, kTitle, problem);
        return;
    }
    showStatus(QStringLiteral("Recording. Press the space bar to stop."));
    updateControls();
}

void RecorderWindow::stop()
{
    if (engine_.isRecording()) {
        engine_.stopRecording();
        showStatus(QStringLiteral("Stopped: %1 recorded.").arg(elapsedText(samples_.size())));
    } else if (player_.isBusy()) {
        closeAfterPlay_ = false;
        player_.requestStop(); // the samples stop at once; the rig answers the release in onPlayingStopped()
        showStatus(QStringLiteral("Playing stopped."));
    }
    updateControls();
}

void RecorderWindow::onPlayingStopped(const QString& releaseProblem)
{
    updateControls();
    if (releaseProblem.isEmpty())
        return;
    showStatus(releaseProblem);
    dialogs_.message(this, kTitle, releaseProblem);
}

void RecorderWindow::addRecordedSamples(const QByteArray& samples)
{
    samples_.insert(samples_.end(), samples.begin(), samples.end());
    if (!samples.isEmpty())
        unsaved_ = true;
    level_->setValue(peakLevel({reinterpret_cast<const std::uint8_t*>(samples.constData()),
                                static_cast<std::size_t>(samples.size())}));
    elapsed_->setText(elapsedText(samples_.size()));
    saveButton_->setEnabled(!engine_.isRecording() && unsaved_);
}

void RecorderWindow::showKeyed(bool keyed)
{
    keyedNotice_->setText(keyed ? QStringLiteral("TRANSMITTER KEYED: %1").arg(player_.rigDescription()) : QString());
    keyedNotice_->setVisible(keyed);
    if (keyed && player_.step() == KeyingStep::Lead)
        showStatus(QStringLiteral("Transmitter keyed; the samples start after the lead."));
}

void RecorderWindow::play()
{
    if (engine_.isRecording() || player_.isBusy())
        return;
    // What was recorded in this window is played; without one, the file.
    WavAudio audio;
    if (!samples_.empty()) {
        audio.sampleRate = kRecordingRate;
        audio.channels = 1;
        audio.bitsPerSample = 8;
        audio.data = samples_;
    } else if (const QString problem = readRecordingToPlay(request_.file, audio); !problem.isEmpty()) {
        onPlayingEnded(QStringLiteral("Cannot play %1: %2.").arg(QString::fromStdString(request_.file), problem));
        return;
    }
    const StoredTransmitter stored = readTransmitterSettings(store_);
    if (!stored.problems.empty()) {
        onPlayingEnded(QString::fromStdString(describeProblems(stored.problems)) +
                       QStringLiteral("\nNothing was played."));
        return;
    }
    // The rig is opened and keyed on its own thread; the player says when it is keyed.
    const QString problem = player_.start(
        audio, AudioEngine::findOutput(outputs_->isEnabled() ? outputs_->currentText() : QString()), openPtt_,
        stored.settings);
    if (!problem.isEmpty()) {
        onPlayingEnded(problem);
        return;
    }
    if (stored.settings.ptt != PttMethod::None)
        showStatus(QStringLiteral("Keying the transmitter: waiting for the rig."));
    updateControls();
}

void RecorderWindow::onPlayingEnded(const QString& problem)
{
    updateControls();
    showStatus(problem.isEmpty() ? QStringLiteral("Played.") : problem);
    if (!problem.isEmpty())
        dialogs_.message(this, kTitle, problem);
    if (closeAfterPlay_) {
        closeAfterPlay_ = false;
        close();
    }
}

void RecorderWindow::startRequestedPlay()
{
    if (!request_.play)
        return;
    closeAfterPlay_ = request_.close;
    QTimer::singleShot(0, this, &RecorderWindow::play);
}

bool RecorderWindow::save()
{
    if (engine_.isRecording())
        stop();
    try {
        writeRecordingFile(request_.file, samples_);
    } catch (const FileError& error) {
        dialogs_.message(this, kTitle,
                         QStringLiteral("Cannot save the recording to %1: %2\nThe recording is kept in the "
                                        "recorder; choose another file in the station and record again, or "
                                        "free the file and save once more.")
                             .arg(QString::fromStdString(request_.file), QString::fromStdString(error.reason())));
        return false;
    }
    unsaved_ = false;
    showStatus(QStringLiteral("Saved %1 to %2.").arg(elapsedText(samples_.size()), QString::fromStdString(request_.file)));
    updateControls();
    return true;
}

void RecorderWindow::closeEvent(QCloseEvent* event)
{
    closeAfterPlay_ = false;
    if (engine_.isRecording() || player_.isBusy())
        stop();
    if (unsaved_ &&
        dialogs_.ask(this, kTitle,
                     QStringLiteral("Save the recording to %1?").arg(QString::fromStdString(request_.file))) &&
        !save()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace tonobild
