#include "receiver/listening_session.h"

#include <QDateTime>

#include "audio/sample_conversion.h"

namespace tonobild {

ListeningSession::ListeningSession(std::vector<TransmissionFinder*> families, QObject* parent)
    : QObject(parent), families_(std::move(families)), gallery_(defaultGalleryFolder())
{
    connect(&engine_, &AudioEngine::samplesRecorded, this, &ListeningSession::hear);
    connect(&engine_, &AudioEngine::recordingFailed, this, &ListeningSession::loseDevice);
    connect(&devices_, &QMediaDevices::audioInputsChanged, this, &ListeningSession::checkDevice);
    deviceCheck_.setInterval(kDeviceCheckMs);
    connect(&deviceCheck_, &QTimer::timeout, this, &ListeningSession::checkDevice);
}

ListeningSession::~ListeningSession()
{
    engine_.disconnect(this);
    engine_.stopRecording();
}

QString ListeningSession::galleryProblem(const QString& galleryFolder)
{
    const QString problem = Gallery(galleryFolder).prepare();
    return problem.isEmpty() ? problem : QStringLiteral("The received pictures could not be kept: %1.").arg(problem);
}

QString ListeningSession::start(const QAudioDevice& device, const QString& galleryFolder)
{
    stop();
    gallery_ = Gallery(galleryFolder);
    keepFailing_ = false;
    picturesLost_ = 0;
    // A folder that takes no pictures is said now, not after the first transmission.
    if (const QString problem = galleryProblem(galleryFolder); !problem.isEmpty())
        return problem;
    const QString problem = listenOn(device);
    on_ = problem.isEmpty();
    if (on_)
        deviceCheck_.start();
    return problem;
}

QString ListeningSession::listenOn(const QAudioDevice& device)
{
    // The device's own rate: no resampling in the sound server rounds the held samples off.
    const QString problem = engine_.startRecording(device, 0);
    if (!problem.isEmpty())
        return problem;
    device_ = device;
    ListenerHost& host = *this;
    listener_ = std::make_unique<Listener>(families_, engine_.recordingRate(), host);
    return {};
}

void ListeningSession::stop()
{
    deviceCheck_.stop();
    on_ = false;
    endListener();
}

// What the device delivered so far is heard first; a transmission coming in is kept with what arrived.
void ListeningSession::endListener()
{
    if (!listener_)
        return;
    engine_.stopRecording();
    const std::unique_ptr<Listener> listener = std::move(listener_);
    listener->finish();
    inputLevel_ = 0;
}

void ListeningSession::hear(const QByteArray& samples)
{
    if (!listener_)
        return;
    const std::span<const std::uint8_t> block(reinterpret_cast<const std::uint8_t*>(samples.constData()),
                                              static_cast<std::size_t>(samples.size()));
    inputLevel_ = peakLevel(block);
    listener_->feed(block);
    emit samplesHeard(samples);
}

void ListeningSession::loseDevice(const QString& reason)
{
    if (!listener_)
        return;
    endListener();
    emit deviceLost(QStringLiteral("The input device \"%1\" is gone: %2")
                        .arg(device_.description(),
                             reason.isEmpty() ? QStringLiteral("the sound server no longer lists it.") : reason));
}

// The device listened to has left the sound server's list, or, while it is
// away, has come back: listening goes on on it. Asked at every change of the
// list and once a second, since not every sound server's list says when it changes.
void ListeningSession::checkDevice()
{
    if (!on_)
        return;
    bool present = false;
    for (const QAudioDevice& input : AudioEngine::inputs())
        present = present || input.id() == device_.id();
    if (listener_ && !present)
        loseDevice({});
    else if (!listener_ && present && listenOn(device_).isEmpty())
        emit deviceBack();
}

void ListeningSession::transmissionBegins()
{
    beganAt_ = QDateTime::currentDateTime();
    emit transmissionBegan();
}

void ListeningSession::nothingReceived()
{
    emit receivedNothing();
}

void ListeningSession::received(ReceivedPicture picture)
{
    QString problem;
    // Named by the time the transmission began: its first cycles came in just before.
    const auto entry = gallery_.keep(picture, beganAt_.isValid() ? beganAt_ : QDateTime::currentDateTime(), &problem);
    if (!entry) {
        ++picturesLost_;
        if (!keepFailing_)
            emit keepFailed(problem);
        keepFailing_ = true;
        return;
    }
    keepFailing_ = false;
    emit pictureKept(picture, *entry);
}

} // namespace tonobild
