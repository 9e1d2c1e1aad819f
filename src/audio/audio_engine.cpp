#include "audio/audio_engine.h"

#include <QAudioSink>
#include <QAudioSource>
#include <QBuffer>
#include <QCoreApplication>
#include <QMediaDevices>
#include <limits>

namespace tonobild {

namespace {

QAudioDevice findDevice(const QList<QAudioDevice>& devices, const QAudioDevice& fallback, const QString& name)
{
    if (!name.isEmpty())
        for (const QAudioDevice& device : devices)
            if (device.description() == name || QString::fromUtf8(device.id()) == name)
                return device;
    return fallback;
}

std::optional<DeviceSampleFormat> deviceSampleFormat(QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return DeviceSampleFormat::UInt8;
    case QAudioFormat::Int16:
        return DeviceSampleFormat::Int16;
    case QAudioFormat::Int32:
        return DeviceSampleFormat::Int32;
    case QAudioFormat::Float:
        return DeviceSampleFormat::Float;
    default:
        return std::nullopt;
    }
}

QString errorText(QAudio::Error error)
{
    switch (error) {
    case QAudio::OpenError:
        return QStringLiteral("the device could not be opened");
    case QAudio::IOError:
        return QStringLiteral("reading or writing the device failed");
    case QAudio::UnderrunError:
        return QStringLiteral("the device ran out of samples");
    case QAudio::FatalError:
        return QStringLiteral("the device is no longer available");
    case QAudio::NoError:
        break;
    }
    return QStringLiteral("the device stopped");
}

// A damaged header's rate (1 sample per second, say) would repeat every
// sample thousands of times: refused before any memory is taken for it.
constexpr std::uint64_t kLargestPlayBuffer = std::numeric_limits<int>::max();

// The bytes the samples take at the device's rate, with the half second of
// silence after them.
std::uint64_t playedBytes(const WavAudio& audio, std::uint32_t deviceRate)
{
    return (repeatedFrameCount(audio.frameCount(), audio.sampleRate, deviceRate) + deviceRate / 2) * audio.channels *
           sizeof(std::int16_t);
}

// Why the samples cannot be played at the device's rate, or empty.
QString playBufferProblem(const WavAudio& audio, std::uint32_t deviceRate)
{
    const std::uint64_t bytes = playedBytes(audio, deviceRate);
    if (bytes <= kLargestPlayBuffer)
        return {};
    return QStringLiteral("At %1 samples per second, played at the device's %2, the sound would take %3 MB, "
                          "more than the %4 MB a sound buffer holds; the file's header may be damaged.")
        .arg(audio.sampleRate)
        .arg(deviceRate)
        .arg(bytes >> 20)
        .arg(kLargestPlayBuffer >> 20);
}

// The samples at the device's rate, each repeated, and half a second of
// silence after the end, so that stopping the device at the end of the file
// does not cut off what it still holds.
std::vector<std::int16_t> playedSamples(const WavAudio& audio, std::uint32_t deviceRate)
{
    std::vector<std::int16_t> played = repeatFrames(toInt16(audio), audio.channels, audio.sampleRate, deviceRate);
    played.resize(played.size() + std::size_t{deviceRate} / 2 * audio.channels, 0);
    return played;
}

// How the file is brought to the device's rate, in words.
QString playbackText(std::uint32_t fileRate, const PlaybackRate& rate)
{
    if (rate.deviceRate == fileRate)
        return QStringLiteral("%1 samples per second as they are").arg(fileRate);
    if (rate.exactRepetition)
        return QStringLiteral("%1 -> %2 samples per second, each sample %3 times")
            .arg(fileRate)
            .arg(rate.deviceRate)
            .arg(rate.deviceRate / fileRate);
    return QStringLiteral("%1 -> %2 samples per second, each sample repeated %3 times "
                          "on average (rounded, so half-cycles differ in length)")
        .arg(fileRate)
        .arg(rate.deviceRate)
        .arg(static_cast<double>(rate.deviceRate) / fileRate, 0, 'f', 3);
}

} // namespace

AudioEngine::AudioEngine(QObject* parent) : QObject(parent) {}

AudioEngine::~AudioEngine()
{
    // Not inside a device's signal here: the devices go at once, not at a later
    // turn of an event loop that may never come. Their pending deletion goes
    // first: a sound server's sink turns the event loop while it closes, and
    // would otherwise be deleted a second time from inside its own destructor.
    stopRecording();
    stopPlaying();
    for (const QPointer<QObject>& device : std::as_const(retired_)) {
        if (device.isNull())
            continue; // deleted already; a null receiver would clear every object's pending deletion
        QCoreApplication::removePostedEvents(device.data(), QEvent::DeferredDelete);
        delete device.data();
    }
}

void AudioEngine::retire(QObject* device)
{
    retired_.removeAll(nullptr);
    retired_.append(device);
    device->deleteLater();
}

QList<QAudioDevice> AudioEngine::inputs()
{
    return QMediaDevices::audioInputs();
}

QList<QAudioDevice> AudioEngine::outputs()
{
    return QMediaDevices::audioOutputs();
}

QAudioDevice AudioEngine::findInput(const QString& name)
{
    return findDevice(inputs(), QMediaDevices::defaultAudioInput(), name);
}

QAudioDevice AudioEngine::findOutput(const QString& name)
{
    return findDevice(outputs(), QMediaDevices::defaultAudioOutput(), name);
}

QString AudioEngine::startRecording(const QAudioDevice& device, std::uint32_t rate)
{
    stopRecording();
    if (device.isNull())
        return QStringLiteral("No sound input device was found.");
    if (rate == 0)
        rate = static_cast<std::uint32_t>(std::max(device.preferredFormat().sampleRate(), 0));
    if (rate == 0)
        rate = kRecordingRate;
    // 16-bit mono at the rate the device runs at is what sound servers deliver
    // without converting; a device that refuses it is taken in its own format
    // and converted.
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(rate));
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        format = device.preferredFormat();
    const auto sampleFormat = deviceSampleFormat(format.sampleFormat());
    if (!sampleFormat || format.sampleRate() <= 0 || format.channelCount() <= 0 || !device.isFormatSupported(format))
        return QStringLiteral("The input device \"%1\" offers no sample format the recorder can take.")
            .arg(device.description());
    converter_ = std::make_unique<CaptureConverter>(*sampleFormat, format.channelCount(),
                                                    static_cast<std::uint32_t>(format.sampleRate()), rate);
    recordingRate_ = rate;
    source_ = new QAudioSource(device, format); // no parent, as the sink below
    source_->setBufferSize(format.bytesForDuration(100000)); // a tenth of a second
    sourceIo_ = source_->start();
    if (sourceIo_ == nullptr || source_->error() != QAudio::NoError) {
        const QString reason = errorText(source_->error());
        stopRecording();
        return QStringLiteral("The input device \"%1\" cannot record: %2.").arg(device.description(), reason);
    }
    connect(sourceIo_, &QIODevice::readyRead, this, &AudioEngine::readInput);
    connect(source_, &QAudioSource::stateChanged, this, [this](QAudio::State) {
        if (source_ == nullptr || source_->state() != QAudio::StoppedState || source_->error() == QAudio::NoError)
            return;
        const QString reason = errorText(source_->error());
        stopRecording();
        emit recordingFailed(QStringLiteral("Recording stopped: %1.").arg(reason));
    }, Qt::QueuedConnection);
    return {};
}

void AudioEngine::readInput()
{
    if (sourceIo_ == nullptr || !converter_)
        return;
    const QByteArray bytes = sourceIo_->readAll();
    if (bytes.isEmpty())
        return;
    std::vector<std::uint8_t> samples;
    converter_->convert({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())},
                        samples);
    if (!samples.empty())
        emit samplesRecorded(QByteArray(reinterpret_cast<const char*>(samples.data()),
                                        static_cast<qsizetype>(samples.size())));
}

void AudioEngine::stopRecording()
{
    if (source_ == nullptr)
        return;
    QAudioSource* source = source_;
    readInput(); // what the device has delivered so far belongs to the recording
    source_ = nullptr;
    sourceIo_ = nullptr;
    source->disconnect(this);
    source->stop();
    retire(source);
    converter_.reset();
}

QString AudioEngine::startPlaying(const WavAudio& audio, const QAudioDevice& device)
{
    stopPlaying();
    if (device.isNull())
        return QStringLiteral("No sound output device was found.");
    const std::uint32_t nativeRate = static_cast<std::uint32_t>(std::max(device.preferredFormat().sampleRate(), 0));
    const std::vector<std::uint32_t> natives = nativeRate > 0 ? std::vector<std::uint32_t>{nativeRate}
                                                              : std::vector<std::uint32_t>{};
    const PlaybackRate rate = choosePlaybackRate(audio.sampleRate, natives);
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(rate.deviceRate));
    format.setChannelCount(audio.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return QStringLiteral("The output device \"%1\" does not take %2 channel(s) of 16-bit samples at %3 "
                              "per second.")
            .arg(device.description())
            .arg(audio.channels)
            .arg(rate.deviceRate);
    if (const QString problem = playBufferProblem(audio, rate.deviceRate); !problem.isEmpty())
        return problem;
    playbackDescription_ = playbackText(audio.sampleRate, rate);
    return startSink(device, format, playedSamples(audio, rate.deviceRate));
}

QString AudioEngine::startSink(const QAudioDevice& device, const QAudioFormat& format,
                               const std::vector<std::int16_t>& played)
{
    // The sink and its buffer have no parent: a stopped sink is retired, not
    // deleted with its engine's children while it may be inside its own signal.
    sink_ = new QAudioSink(device, format);
    // Half a second ahead: a transmission must not break up when the machine
    // is slow to refill the device for a moment.
    sink_->setBufferSize(format.bytesForDuration(500000));
    playBuffer_ = new QBuffer(sink_);
    playBuffer_->setData(reinterpret_cast<const char*>(played.data()), // within kLargestPlayBuffer
                         static_cast<int>(played.size() * sizeof(std::int16_t)));
    playBuffer_->open(QIODevice::ReadOnly);
    // Queued: the sink is stopped and deleted in answer to its own state change,
    // which must not happen while it is still sending that signal.
    connect(sink_, &QAudioSink::stateChanged, this, &AudioEngine::onSinkState, Qt::QueuedConnection);
    sink_->start(playBuffer_);
    if (sink_->error() != QAudio::NoError) {
        const QString reason = errorText(sink_->error());
        stopPlaying();
        return QStringLiteral("The output device \"%1\" cannot play: %2.").arg(device.description(), reason);
    }
    return {};
}

void AudioEngine::onSinkState()
{
    if (sink_ == nullptr)
        return;
    const QAudio::Error error = sink_->error();
    const QAudio::State state = sink_->state();
    if (state == QAudio::IdleState && playBuffer_->atEnd()) {
        stopPlaying();
        emit playingFinished();
    } else if (state == QAudio::StoppedState && error != QAudio::NoError) {
        stopPlaying();
        emit playingFailed(QStringLiteral("Playing stopped: %1.").arg(errorText(error)));
    }
}

void AudioEngine::stopPlaying()
{
    if (sink_ == nullptr)
        return;
    QAudioSink* sink = sink_;
    sink_ = nullptr;
    sink->disconnect(this);
    sink->stop();
    retire(sink);
    playBuffer_ = nullptr;
}

} // namespace tonobild
