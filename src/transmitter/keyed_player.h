// Plays a transmission with the transmitter keyed around it: keys, waits the
// lead, plays the samples, waits the tail, releases. Stop, an error of the
// output device (one that stops taking samples too), a rig that stops
// answering and the player's end all release the transmitter at once. Used by
// the recorder's window and by tonobild-cli.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "audio/audio_engine.h"
#include "transmitter/keying_sequence.h"

namespace tonobild {

class KeyedPlayer : public QObject {
    Q_OBJECT
public:
    // How often the rig is asked whether it still answers while keyed.
    static constexpr int kLinkCheckMs = 500;
    // How long the output device may take past the samples' own length before it
    // counts as stalled: the samples are stopped and the transmitter released.
    static constexpr int kStallMarginMs = 5000;

    explicit KeyedPlayer(AudioEngine& engine, QObject* parent = nullptr);
    ~KeyedPlayer() override;

    // Keys `line` (null: plays unkeyed) and plays `audio` after the lead.
    // Answers empty when under way, else why nothing was keyed or played.
    QString start(const WavAudio& audio, const QAudioDevice& device, std::unique_ptr<PttLine> line,
                  double leadSeconds, double tailSeconds);
    // Stops the samples and releases at once, without finished(); answers why
    // releasing failed, or empty.
    QString stop();

    bool isBusy() const { return sequence_ && sequence_->step() != KeyingStep::Idle; }
    bool isKeyed() const { return sequence_ && sequence_->keyed(); }
    KeyingStep step() const { return sequence_ ? sequence_->step() : KeyingStep::Idle; }
    QString rigDescription() const;
    // Why the last release failed (the transmitter may still be keyed), or empty.
    const QString& releaseProblem() const { return releaseProblem_; }

signals:
    // False when the player has let go of the key: released, or releaseProblem() says why not.
    void keyedChanged(bool keyed);
    // The samples have started, as the engine brings them to the device.
    void samplesStarted(const QString& playbackDescription);
    // The transmission is over and the transmitter released; `problem` is empty
    // when every sample was played and the release worked.
    void finished(const QString& problem);

private:
    void onStepTimer();
    void startSamples(); // at the end of the lead
    QString playSamples(const WavAudio& audio, const QAudioDevice& device);
    void onSamplesEnded();
    void onStall();
    void onLinkCheck();
    void end(const QString& problem); // releases and reports finished()
    QString release(const QString& problem); // answers the problem with the release's own

    AudioEngine& engine_;
    std::unique_ptr<KeyingSequence> sequence_;
    WavAudio audio_;
    QAudioDevice device_;
    QString releaseProblem_;
    QTimer stepTimer_;
    QTimer linkTimer_;
};

} // namespace tonobild
