// tonobild-cli listen --gallery DIR: live reception from the input device,
// every picture received kept in DIR with its recording, as the window's
// Listen keeps them.
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/decode_options.h"
#include "cli/stop_signals.h"
#include "receiver/listening_session.h"

namespace tonobild::cli {

int listenCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Listens to the input device and receives every transmission on it: each picture is decoded as "
        "\"decode\" decodes, with the same options and defaults, and kept at once in the gallery folder as a "
        "PNG named by the local date and time and the sender's codeword, with its recording as WAV beside it "
        "and a line in index.txt. Listens until --seconds have passed, --count pictures were received, or "
        "Ctrl-C, which keeps the transmission coming in with the rows that arrived."));
    const QCommandLineOption gallery(QStringLiteral("gallery"), QStringLiteral("folder the pictures are kept in"),
                                     QStringLiteral("DIR"));
    const QCommandLineOption input = inputDeviceOption();
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("listen for N seconds"),
                                     QStringLiteral("N"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("stop after N pictures"),
                                   QStringLiteral("N"));
    parser.addOptions({gallery, input, seconds, count});
    const DecodeOptions decodeOptions;
    decodeOptions.addTo(parser);
    if (auto exit = parseOrExit(parser, arguments, 0))
        return *exit;
    if (!parser.isSet(gallery) || parser.value(gallery).isEmpty())
        return fail(QStringLiteral("--gallery needs the folder the pictures are kept in"));
    bool ok = true;
    const double length = parser.isSet(seconds) ? parser.value(seconds).toDouble(&ok) : 0;
    if (!ok || length < 0 || length > 7 * 24 * 3600)
        return fail(QStringLiteral("--seconds needs a length in seconds, up to a week"));
    const int wanted = parser.isSet(count) ? parser.value(count).toInt(&ok) : 0;
    if (!ok || wanted < 0)
        return fail(QStringLiteral("--count needs a number of pictures"));
    QString problem;
    std::optional<DecodeChoice> choice = decodeOptions.resolve(parser, nullptr, &problem);
    if (!choice)
        return fail(problem);
    problem = ListeningSession::galleryProblem(parser.value(gallery)); // before any sound device is looked for
    if (!problem.isEmpty())
        return fail(problem);

    ListeningSession session(choice->controls, choice->settings);
    QEventLoop loop;
    QTextStream out(stdout);
    int received = 0;
    QObject::connect(&session, &ListeningSession::licLockChanged,
                     [&](bool ticked) { choice->controls.licLock = ticked; });
    QObject::connect(&session, &ListeningSession::pictureKept,
                     [&](const ReceivedPicture& picture, const GalleryEntry& entry) {
                         out << "Received " << entry.picturePath << ": " << readOutLine(picture.signatureCaption)
                             << Qt::endl;
                         if (++received == wanted)
                             loop.exit(0);
                     });
    QObject::connect(&session, &ListeningSession::keepFailed, [](const QString& message) {
        QTextStream(stderr) << "tonobild-cli: " << message << "; listening goes on" << Qt::endl;
    });
    QObject::connect(&session, &ListeningSession::listeningFailed, [&](const QString& reason) {
        problem = reason;
        loop.exit(1);
    });
    if (length > 0)
        QTimer::singleShot(static_cast<int>(length * 1000), &loop, [&] { loop.exit(0); });
    const StopSignals stopSignals([&](int) { loop.exit(0); });

    const QAudioDevice device = AudioEngine::findInput(parser.value(input));
    problem = session.start(device, parser.value(gallery));
    if (!problem.isEmpty())
        return fail(problem);
    out << "Listening on " << device.description() << " into " << parser.value(gallery) << Qt::endl;
    const int result = loop.exec();
    session.stop(); // a transmission coming in is kept with what arrived
    out << "Received " << received << (received == 1 ? " picture" : " pictures") << Qt::endl;
    if (result != 0)
        return fail(problem);
    if (const int lost = session.picturesLost(); lost > 0) // said as it happened, and in the exit code
        return fail(QStringLiteral("%1 received could not be kept in %2")
                        .arg(lost == 1 ? QStringLiteral("1 picture") : QStringLiteral("%1 pictures").arg(lost),
                             parser.value(gallery)));
    return 0;
}

} // namespace tonobild::cli
