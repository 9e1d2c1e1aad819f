#include "transmitter/keyed_player.h"

#include <algorithm>
#include <limits>

namespace tonobild {

namespace {

QString joined(const QString& first, const QString& second)
{
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return first + QLatin1Char('\n') + second;
}

// The samples' own length and the margin a device may take past it.
int playingLimitMs(const WavAudio& audio)
{
    const std::uint64_t samplesMs = audio.sampleRate == 0 ? 0 : std::uint64_t{audio.frameCount()} * 1000 / audio.sampleRate;
    return static_cast<int>(
        std::min<std::uint64_t>(samplesMs + KeyedPlayer::kStallMarginMs, std::numeric_limits<int>::max()));
}

} // namespace

KeyedPlayer::KeyedPlayer(AudioEngine& engine, QObject* parent) : QObject(parent), engine_(engine)
{
    stepTimer_.setSingleShot(true);
    linkTimer_.setInterval(kLinkCheckMs);
    connect(&stepTimer_, &QTimer::timeout, this, &KeyedPlayer::onStepTimer);
    connect(&linkTimer_, &QTimer::timeout, this, &KeyedPlayer::onLinkCheck);
    connect(&engine_, &AudioEngine::playingFinished, this, &KeyedPlayer::onSamplesEnded);
    connect(&engine_, &AudioEngine::playingFailed, this, [this](const QString& reason) {
        if (step() == KeyingStep::Playing)
            end(reason);
    });
}

KeyedPlayer::~KeyedPlayer()
{
    // The sequence's guard releases the transmitter whatever else happens here.
    if (isBusy())
        engine_.stopPlaying();
}

QString KeyedPlayer::rigDescription() const
{
    return sequence_ ? QString::fromStdString(sequence_->rigDescription()) : QString();
}

QString KeyedPlayer::start(const WavAudio& audio, const QAudioDevice& device, std::unique_ptr<PttLine> line,
                           double leadSeconds, double tailSeconds)
{
    if (isBusy())
        return QStringLiteral("A transmission is already playing.");
    auto sequence = std::make_unique<KeyingSequence>(std::move(line), leadSeconds, tailSeconds);
    int leadMs = 0;
    try {
        leadMs = sequence->start();
    } catch (const PttError& error) {
        return QString::fromStdString(error.what()) + QStringLiteral(". Nothing was played.");
    }
    sequence_ = std::move(sequence);
    device_ = device;
    releaseProblem_.clear();
    if (sequence_->keyed()) {
        emit keyedChanged(true);
        linkTimer_.start();
    }
    if (leadMs > 0) {
        audio_ = audio;
        stepTimer_.start(leadMs);
        return {};
    }
    // No lead: the samples start now, and a device that refuses them is answered at once.
    if (const QString problem = playSamples(audio, device); !problem.isEmpty())
        return release(problem);
    return {};
}

QString KeyedPlayer::playSamples(const WavAudio& audio, const QAudioDevice& device)
{
    sequence_->leadPassed();
    const QString problem = engine_.startPlaying(audio, device);
    if (problem.isEmpty()) {
        stepTimer_.start(playingLimitMs(audio)); // ended by onSamplesEnded() in time
        emit samplesStarted(engine_.playbackDescription());
    }
    return problem;
}

void KeyedPlayer::onStepTimer()
{
    if (step() == KeyingStep::Lead)
        startSamples();
    else if (step() == KeyingStep::Playing)
        onStall();
    else if (step() == KeyingStep::Tail)
        end({});
}

void KeyedPlayer::onStall()
{
    engine_.stopPlaying();
    end(QStringLiteral("The output device %1 stopped taking the samples: they had not been played %2 seconds "
                       "after they should have ended. Playing stopped.")
            .arg(device_.description())
            .arg(kStallMarginMs / 1000));
}

void KeyedPlayer::startSamples()
{
    const QString problem = playSamples(audio_, device_);
    audio_ = {};
    if (!problem.isEmpty())
        end(problem);
}

void KeyedPlayer::onSamplesEnded()
{
    if (step() != KeyingStep::Playing)
        return;
    stepTimer_.start(sequence_->samplesEnded());
}

void KeyedPlayer::onLinkCheck()
{
    if (!isKeyed())
        return;
    try {
        sequence_->checkLink();
    } catch (const PttError& error) {
        engine_.stopPlaying();
        end(QString::fromStdString(error.what()) + QStringLiteral(". Playing stopped."));
    }
}

QString KeyedPlayer::stop()
{
    return release({});
}

void KeyedPlayer::end(const QString& problem)
{
    emit finished(release(problem));
}

QString KeyedPlayer::release(const QString& problem)
{
    if (!isBusy())
        return problem;
    stepTimer_.stop();
    linkTimer_.stop();
    const bool wasKeyed = isKeyed();
    releaseProblem_ = QString::fromStdString(sequence_->release());
    engine_.stopPlaying();
    if (wasKeyed)
        emit keyedChanged(false);
    return joined(problem, releaseProblem_);
}

} // namespace tonobild
