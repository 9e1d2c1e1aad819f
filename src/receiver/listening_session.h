// Listening as the window and tonobild-cli run it: the input device's samples
// go, at the device's own rate, into the listener with the signal families
// given, and every picture received is kept in the gallery at once, without asking.
//
// An input device that goes away (a USB sound card pulled: the sound server
// drops it from its list, or the stream fails) ends the transmission coming in
// with the rows that arrived; that is said once, and listening resumes on the
// same device when it comes back.
#pragma once

#include <QAudioDevice>
#include <QDateTime>
#include <QMediaDevices>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "audio/audio_engine.h"
#include "receiver/gallery.h"
#include "receiver/listener.h"

namespace tonobild {

class ListeningSession : public QObject, private ListenerHost {
    Q_OBJECT
public:
    // How often the session looks whether the device is there.
    static constexpr int kDeviceCheckMs = 1000;

    // Listens for the transmissions of these families, which outlive the session.
    explicit ListeningSession(std::vector<TransmissionFinder*> families, QObject* parent = nullptr);
    ~ListeningSession() override;

    // Why pictures could not be kept in the folder, as a sentence; empty when
    // they can. start() asks it before the device is opened.
    static QString galleryProblem(const QString& galleryFolder);

    // Starts listening; answers an empty text, or why listening cannot start.
    QString start(const QAudioDevice& device, const QString& galleryFolder);
    // Stops listening: a transmission still coming in is kept with the rows that arrived.
    void stop();
    // From start() to stop(), also while the device is away.
    bool isListening() const { return on_; }
    // The device has gone away; listening resumes when it comes back.
    bool waitsForDevice() const { return on_ && listener_ == nullptr; }

    // The listener while samples come in, for the live picture and the progress; else null.
    const Listener* listener() const { return listener_.get(); }
    // The loudest sample of the last block, 0 .. 128 from the middle.
    int inputLevel() const { return inputLevel_; }
    const QString& galleryFolder() const { return gallery_.folder(); }
    // The pictures received since start() that could not be kept.
    int picturesLost() const { return picturesLost_; }

signals:
    // A transmission has begun: the window brings the settings up to date now.
    void transmissionBegan();
    // What began ended without a line of picture: listening goes on.
    void receivedNothing();
    // A block of samples (8-bit unsigned at the listener's rate) has gone through the listener.
    void samplesHeard(const QByteArray& samples);
    void pictureKept(const tonobild::ReceivedPicture& picture, const tonobild::GalleryEntry& entry);
    // A picture could not be kept (the folder and the reason). Said once, until
    // a picture is kept again; listening goes on.
    void keepFailed(const QString& message);
    // The input device went away (the device and the reason); said once, until it is back.
    void deviceLost(const QString& message);
    // The device is back and listening goes on.
    void deviceBack();

private:
    QString listenOn(const QAudioDevice& device);
    void hear(const QByteArray& samples);
    void loseDevice(const QString& reason);
    void checkDevice();
    void endListener();
    void received(ReceivedPicture picture) override;
    void nothingReceived() override;
    void transmissionBegins() override;

    std::vector<TransmissionFinder*> families_;
    AudioEngine engine_;
    QMediaDevices devices_; // says when a device comes or goes
    QTimer deviceCheck_;    // looks for the device while listening
    QAudioDevice device_;   // the device listened to
    Gallery gallery_;
    std::unique_ptr<Listener> listener_;
    bool on_ = false;
    QDateTime beganAt_; // when the transmission coming in began
    int inputLevel_ = 0;
    bool keepFailing_ = false;
    int picturesLost_ = 0;
};

} // namespace tonobild
