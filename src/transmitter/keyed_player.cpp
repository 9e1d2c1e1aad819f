#include "transmitter/keyed_player.h"

#include <QCoreApplication>
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
    if (isBusy())
        engine_.stopPlaying();
    // The sequence's guard releases the transmitter, and the line closes the
    // rig, on the rig's thread; rig_ waits for it as it goes.
    rig_.post([this] { sequence_.reset(); });
}

void KeyedPlayer::answer(std::function<void()> reaction)
{
    QMetaObject::invokeMethod(this, std::move(reaction), Qt::QueuedConnection);
}

QString KeyedPlayer::start(const WavAudio& audio, const QAudioDevice& device, std::unique_ptr<PttLine> line,
                           double leadSeconds, double tailSeconds)
{
    // The line goes to the rig's thread as an opener that hands it over.
    auto held = std::make_shared<std::unique_ptr<PttLine>>(std::move(line));
    TransmitterSettings rig;
    rig.leadSeconds = leadSeconds;
    rig.tailSeconds = tailSeconds;
    return start(audio, device, [held](const TransmitterSettings&) { return OpenedPtt{std::move(*held), {}}; }, rig);
}

QString KeyedPlayer::start(const WavAudio& audio, const QAudioDevice& device, PttOpener open,
                           const TransmitterSettings& rig)
{
    if (isBusy())
        return QStringLiteral("A transmission is already playing.");
    step_ = KeyingStep::Lead;
    audio_ = audio;
    device_ = device;
    releaseProblem_.clear();
    const int transmission = ++transmission_;
    rig_.post([this, open = std::move(open), rig, transmission] {
        const Keyed keyed = openAndKey(open, rig);
        answer([this, transmission, keyed] { onKeyed(transmission, keyed); });
    });
    return {};
}

KeyedPlayer::Keyed KeyedPlayer::openAndKey(const PttOpener& open, const TransmitterSettings& rig)
{
    OpenedPtt opened = open(rig);
    if (!opened.problem.empty())
        return {opened.problem + " Nothing was played.", 0, false, {}};
    sequence_ = std::make_unique<KeyingSequence>(std::move(opened.line), rig.leadSeconds, rig.tailSeconds);
    try {
        const int leadMs = sequence_->start();
        return {{}, leadMs, sequence_->keyed(), sequence_->rigDescription()};
    } catch (const PttError& error) {
        sequence_.reset();
        return {error.what() + std::string(". Nothing was played."), 0, false, {}};
    }
}

void KeyedPlayer::onKeyed(int transmission, const Keyed& keyed)
{
    if (transmission != transmission_)
        return; // stopped meanwhile: the release follows on the rig's thread
    if (!keyed.problem.empty()) {
        step_ = KeyingStep::Idle;
        audio_ = {};
        emit finished(QString::fromStdString(keyed.problem));
        return;
    }
    rigDescription_ = QString::fromStdString(keyed.rigDescription);
    if (keyed.keyed) {
        keyed_ = true;
        emit keyedChanged(true);
        linkTimer_.start();
    }
    if (keyed.leadMs > 0)
        stepTimer_.start(keyed.leadMs);
    else
        startSamples();
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
    step_ = KeyingStep::Playing;
    rig_.post([this] {
        if (sequence_)
            sequence_->leadPassed();
    });
    const WavAudio audio = std::exchange(audio_, {});
    const QString problem = engine_.startPlaying(audio, device_);
    if (!problem.isEmpty()) {
        end(problem);
        return;
    }
    stepTimer_.start(playingLimitMs(audio)); // ended by onSamplesEnded() in time
    emit samplesStarted(engine_.playbackDescription());
}

void KeyedPlayer::onSamplesEnded()
{
    if (step() != KeyingStep::Playing)
        return;
    step_ = KeyingStep::Tail;
    stepTimer_.stop();
    const int transmission = transmission_;
    rig_.post([this, transmission] {
        const int tailMs = sequence_ ? sequence_->samplesEnded() : 0;
        answer([this, transmission, tailMs] {
            if (transmission == transmission_)
                stepTimer_.start(tailMs);
        });
    });
}

void KeyedPlayer::onLinkCheck()
{
    if (!isKeyed() || checking_)
        return; // the last question is still unanswered: one at a time
    checking_ = true;
    const int transmission = transmission_;
    rig_.post([this, transmission] {
        std::string problem;
        try {
            if (sequence_)
                sequence_->checkLink();
        } catch (const PttError& error) {
            problem = error.what();
        }
        answer([this, transmission, problem] {
            checking_ = false;
            if (transmission != transmission_ || problem.empty())
                return;
            engine_.stopPlaying();
            end(QString::fromStdString(problem) + QStringLiteral(". Playing stopped."));
        });
    });
}

void KeyedPlayer::requestStop()
{
    release({}, true);
}

QString KeyedPlayer::stop()
{
    if (!isBusy())
        return {};
    requestStop();
    rig_.finishQueued();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); // the answers, the release's among them
    return releaseProblem_;
}

void KeyedPlayer::end(const QString& problem)
{
    release(problem, false);
}

void KeyedPlayer::release(const QString& problem, bool byStop)
{
    if (!isBusy() || releasing_)
        return;
    releasing_ = true;
    stepTimer_.stop();
    linkTimer_.stop();
    engine_.stopPlaying();
    audio_ = {};
    ++transmission_; // what the rig still answers about this transmission is not heard
    rig_.post([this, problem, byStop] {
        std::string releaseProblem;
        if (sequence_)
            releaseProblem = sequence_->release();
        sequence_.reset(); // the rig closes
        answer([this, problem, releaseProblem, byStop] { onReleased(problem, releaseProblem, byStop); });
    });
}

void KeyedPlayer::onReleased(const QString& problem, const std::string& releaseProblem, bool byStop)
{
    releasing_ = false;
    step_ = KeyingStep::Idle;
    releaseProblem_ = QString::fromStdString(releaseProblem);
    if (keyed_) {
        keyed_ = false;
        emit keyedChanged(false);
    }
    if (byStop)
        emit stopped(releaseProblem_);
    else
        emit finished(joined(problem, releaseProblem_));
}

} // namespace tonobild
