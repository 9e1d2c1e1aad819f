// Plays a transmission with the transmitter keyed around it: keys, waits the
// lead, plays the samples, waits the tail, releases. Stop, an error of the
// output device (one that stops taking samples too), a rig that stops
// answering and the player's end all release the transmitter at once. Every
// call to the rig runs on the rig's own thread, so that a rig that is slow to
// answer never holds up the thread of the window; the player hears each
// answer on its own thread. Used by the recorder's window and by tonobild-cli.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "audio/audio_engine.h"
#include "transmitter/keying_sequence.h"
#include "transmitter/rig_thread.h"

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
    // Releases the transmitter and closes the rig, waiting for the rig's thread.
    ~KeyedPlayer() override;

    // Opens the rig of `rig` with `open` and keys it, on the rig's thread, and
    // plays `audio` after the lead. Answers at once: empty when under way
    // (finished() says how it ended; a rig that cannot be opened or keyed ends
    // it with "Nothing was played."), else why nothing was started.
    QString start(const WavAudio& audio, const QAudioDevice& device, PttOpener open, const TransmitterSettings& rig);
    // The same with a line opened already (null: plays unkeyed).
    QString start(const WavAudio& audio, const QAudioDevice& device, std::unique_ptr<PttLine> line,
                  double leadSeconds, double tailSeconds);
    // Stops the samples at once and releases on the rig's thread, without
    // finished(); stopped() says when the release is done.
    void requestStop();
    // The same, waiting for the release, for a program without a window;
    // answers why releasing failed, or empty.
    QString stop();

    // From start() until the release is done.
    bool isBusy() const { return step_ != KeyingStep::Idle; }
    // From the rig's answer that it keyed until its answer that it released.
    bool isKeyed() const { return keyed_; }
    KeyingStep step() const { return step_; }
    QString rigDescription() const { return rigDescription_; }
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
    // After a stop, the transmitter is released; `releaseProblem` says why not, or is empty.
    void stopped(const QString& releaseProblem);

private:
    // What the rig's thread answers to the opening and keying.
    struct Keyed {
        std::string problem;
        int leadMs = 0;
        bool keyed = false;
        std::string rigDescription;
    };

    Keyed openAndKey(const PttOpener& open, const TransmitterSettings& rig); // on the rig's thread
    void onKeyed(int transmission, const Keyed& keyed);
    void onStepTimer();
    void startSamples(); // at the end of the lead
    void onSamplesEnded();
    void onStall();
    void onLinkCheck();
    void end(const QString& problem); // releases and reports finished()
    void release(const QString& problem, bool byStop);
    void onReleased(const QString& problem, const std::string& releaseProblem, bool byStop);
    // Runs `reaction` on the player's thread, from the rig's thread.
    void answer(std::function<void()> reaction);

    AudioEngine& engine_;
    // Touched on the rig's thread only; declared before rig_, which goes first.
    std::unique_ptr<KeyingSequence> sequence_;
    // The steps as the player follows them, on its own thread.
    KeyingStep step_ = KeyingStep::Idle;
    bool keyed_ = false;
    bool releasing_ = false;
    bool checking_ = false;
    int transmission_ = 0; // counts starts and releases: an answer to an earlier one is not heard
    QString rigDescription_;
    WavAudio audio_;
    QAudioDevice device_;
    QString releaseProblem_;
    QTimer stepTimer_;
    QTimer linkTimer_;
    RigThread rig_;
};

} // namespace tonobild
