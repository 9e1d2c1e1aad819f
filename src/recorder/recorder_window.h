// The window of tonobild-recorder: Record, Stop, Play and Save on one file, the
// space bar starting and stopping recording, an input level meter, the elapsed
// time and the choice of input and output device (remembered in the settings
// store under "Recorder"). Recordings are 8-bit unsigned mono at 44100 samples
// per second; Save writes them after the 58-byte recording header. Play keys
// the transmitter of the settings store's section "Transmitter" around the
// samples, and the window says so while it is keyed.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <vector>

#include "audio/audio_engine.h"
#include "recorder/recorder_arguments.h"
#include "transmitter/hamlib_ptt.h"
#include "settings/sound_device_keys.h"
#include "transmitter/keyed_player.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace tonobild {

class SettingsStore;
class UserDialogs;

class RecorderWindow : public QWidget {
    Q_OBJECT
public:
    RecorderWindow(UserDialogs& dialogs, SettingsStore& store, RecorderRequest request,
                   PttOpener openPtt = openHamlibPtt, QWidget* parent = nullptr);
    ~RecorderWindow() override;

    // For "/play": plays the file once the event loop runs; with "/close" the
    // window closes when playing ends.
    void startRequestedPlay();

    const std::vector<std::uint8_t>& recording() const { return samples_; }
    bool hasUnsavedRecording() const { return unsaved_; }
    bool isTransmitterKeyed() const { return player_.isKeyed(); }
    // From Play until the transmitter is released.
    bool isPlaying() const { return player_.isBusy(); }

public slots:
    void record();
    void stop();
    void play();
    bool save(); // true when the recording is in the file
    // Samples as the input device delivers them after conversion: 8-bit
    // unsigned mono at 44100 per second.
    void addRecordedSamples(const QByteArray& samples);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void layOut(const QString& file);
    void connectControls();
    void fillDevices();
    void updateControls();
    void showStatus(const QString& text);
    void onPlayingEnded(const QString& problem);
    void onPlayingStopped(const QString& releaseProblem);
    void showKeyed(bool keyed);

    UserDialogs& dialogs_;
    SettingsStore& store_;
    RecorderRequest request_;
    PttOpener openPtt_;
    AudioEngine engine_;
    KeyedPlayer player_{engine_}; // after engine_: goes first, releasing the transmitter
    std::vector<std::uint8_t> samples_;
    bool unsaved_ = false;
    bool closeAfterPlay_ = false;

    QPushButton* recordButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QProgressBar* level_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* keyedNotice_ = nullptr; // shown while the transmitter is keyed
    QLabel* deviceNotice_ = nullptr; // why Record or Play is off
    QComboBox* inputs_ = nullptr;
    QComboBox* outputs_ = nullptr;
};

// What the window says when it has no input or no output device; empty when it has both.
QString deviceNotice(bool hasInput, bool hasOutput);

// The elapsed time of a number of samples at 44100 per second, as "m:ss.t".
QString elapsedText(std::size_t samples);

} // namespace tonobild
