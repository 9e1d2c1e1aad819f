// The sound devices of the recorder and of tonobild-cli: recording from an input
// device into 8-bit unsigned mono samples at 44100 per second, and playing a PCM
// WAV file through an output device at a rate the device runs at natively, each
// sample repeated, so that the sound server does not resample it.
#pragma once

#include <QAudioDevice>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "audio/sample_conversion.h"
#include "soundfile/wav_file.h"

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

    // Starts recording at the rate given, or at the device's own rate for 0;
    // answers an empty text, or why it could not start.
    QString startRecording(const QAudioDevice& device, std::uint32_t rate = kRecordingRate);
    void stopRecording();
    bool isRecording() const { return source_ != nullptr; }
    // The rate of the samples recorded.
    std::uint32_t recordingRate() const { return recordingRate_; }

    // Starts playing; answers an empty text, or why it could not start.
    QString startPlaying(const WavAudio& audio, const QAudioDevice& device);
    void stopPlaying();
    bool isPlaying() const { return sink_ != nullptr; }
    // How the last file was brought to the device, e.g. "11025 -> 44100 samples
    // per second, each sample 4 times".
    const QString& playbackDescription() const { return playbackDescription_; }

signals:
    // 8-bit unsigned mono samples at the recording rate, as they arrive.
    void samplesRecorded(const QByteArray& samples);
    // The input device failed while recording; recording has stopped.
    void recordingFailed(const QString& reason);
    void playingFinished();
    // The output device failed while playing; playing has stopped.
    void playingFailed(const QString& reason);

private:
    void readInput();
    // Plays the samples, already at the device's rate, through a new sink.
    QString startSink(const QAudioDevice& device, const QAudioFormat& format, const std::vector<std::int16_t>& played);
    void onSinkState();
    // A stopped device is deleted at the event loop's next turn, since it may be
    // inside a signal of its own; one still waiting when the engine goes is
    // deleted with it. A device left alive at exit races the sound server's
    // backend while it shuts down.
    void retire(QObject* device);

    QAudioSource* source_ = nullptr;
    // The source's own device: the sound server's backend deletes it when the
    // stream breaks, so it is watched rather than held.
    QPointer<QIODevice> sourceIo_;
    std::unique_ptr<CaptureConverter> converter_;
    std::uint32_t recordingRate_ = kRecordingRate;
    QAudioSink* sink_ = nullptr;
    QBuffer* playBuffer_ = nullptr; // owned by sink_
    QString playbackDescription_;
    QList<QPointer<QObject>> retired_;
};

} // namespace tonobild
