#include "receiver/listening_session.h"

#include <QDateTime>

#include "audio/sample_conversion.h"

namespace tonobild {

ListeningSession::ListeningSession(std::vector<TransmissionFinder*> families, QObject* parent)
    : QObject(parent), families_(std::move(families)), gallery_(defaultGalleryFolder())
{
    connect(&engine_, &AudioEngine::samplesRecorded, this, &ListeningSession::hear);
    connect(&engine_, &AudioEngine::recordingFailed, this, [this](const QString& reason) {
        stop();
        emit listeningFailed(reason);
    });
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
    // The device's own rate: no resampling in the sound server rounds the held samples off.
    const QString problem = engine_.startRecording(device, 0);
    if (!problem.isEmpty())
        return problem;
    ListenerHost& host = *this;
    listener_ = std::make_unique<Listener>(families_, engine_.recordingRate(), host);
    return {};
}

void ListeningSession::stop()
{
    if (!listener_)
        return;
    engine_.stopRecording(); // what the device delivered so far is heard first
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
    emit samplesHeard();
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
