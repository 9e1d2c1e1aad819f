// The sound devices of the recorder and of tonobild-cli: recording from an input
// device into 8-bit unsigned mono samples at 44100 per second, and playing a PCM
// WAV file through an output device at a rate the device runs at natively, each
// sample repeated, so that the sound server does not resample it.
#pragma once

#include <QAudioDevice>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "audio/sample_conversion.h"
#include "audio/wav_file.h"

class QAudioSink;
class QAudioSource;
class QBuffer;

namespace tonobild {

inline constexpr std::uint32_t kRecordingRate = 44100;

class AudioEngine : public QObject {
    Q_OBJECT
public:
    explicit AudioEngine(QObject* parent = nullptr);
    ~AudioEngine() override;

    static QList<QAudioDevice> inputs();
    static QList<QAudioDevice> outputs();
    // The device whose description or id is `name`; the default device when
    // `name` is empty or names no present device. A null device when there is none.
    static QAudioDevice findInput(const QString& name);
    static QAudioDevice findOutput(const QString& name);

    // Starts recording; answers an empty text, or why it could not start.
    QString startRecording(const QAudioDevice& device);
    void stopRecording();
    bool isRecording() const { return source_ != nullptr; }

    // Starts playing; answers an empty text, or why it could not start.
    QString startPlaying(const WavAudio& audio, const QAudioDevice& device);
    void stopPlaying();
    bool isPlaying() const { return sink_ != nullptr; }
    // How the last file was brought to the device, e.g. "11025 -> 44100 samples
    // per second, each sample 4 times".
    const QString& playbackDescription() const { return playbackDescription_; }

signals:
    // 8-bit unsigned mono samples at 44100 per second, as they arrive.
    void samplesRecorded(const QByteArray& samples);
    // The input device failed while recording; recording has stopped.
    void recordingFailed(const QString& reason);
    void playingFinished();
    // The output device failed while playing; playing has stopped.
    void playingFailed(const QString& reason);

private:
    void readInput();
    void onSinkState();

    QAudioSource* source_ = nullptr;
    QIODevice* sourceIo_ = nullptr;
    std::unique_ptr<CaptureConverter> converter_;
    QAudioSink* sink_ = nullptr;
    QBuffer* playBuffer_ = nullptr; // owned by sink_
    QString playbackDescription_;
};

} // namespace tonobild
