// tonobild-cli listen --gallery DIR: live reception from the input device, in
// the standard modes and the station's own format, every picture received
// kept in DIR with its recording, as the window's Listen keeps them.
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/decode_options.h"
#include "cli/stop_signals.h"
#include "family/own_family.h"
#include "family/standard_family.h"
#include "receiver/listening_session.h"

namespace tonobild::cli {

namespace {

struct ListenOptions {
    QCommandLineOption gallery{QStringLiteral("gallery"), QStringLiteral("folder the pictures are kept in"),
                               QStringLiteral("DIR")};
    QCommandLineOption input = inputDeviceOption();
    QCommandLineOption seconds{QStringLiteral("seconds"), QStringLiteral("listen for N seconds"), QStringLiteral("N")};
    QCommandLineOption count{QStringLiteral("count"), QStringLiteral("stop after N pictures"), QStringLiteral("N")};
};

// How long to listen: seconds (0: until Ctrl-C) and pictures (0: any number).
struct ListenLimits {
    double seconds = 0;
    int pictures = 0;
};

// The gallery folder and the limits as given; prints the reason and answers nothing when one is wrong.
std::optional<ListenLimits> limitsOf(const QCommandLineParser& parser, const ListenOptions& options)
{
    if (!parser.isSet(options.gallery) || parser.value(options.gallery).isEmpty()) {
        fail(QStringLiteral("--gallery needs the folder the pictures are kept in"));
        return std::nullopt;
    }
    bool ok = true;
    ListenLimits limits;
    limits.seconds = parser.isSet(options.seconds) ? parser.value(options.seconds).toDouble(&ok) : 0;
    if (!ok || limits.seconds < 0 || limits.seconds > 7 * 24 * 3600) {
        fail(QStringLiteral("--seconds needs a length in seconds, up to a week"));
        return std::nullopt;
    }
    limits.pictures = parser.isSet(options.count) ? parser.value(options.count).toInt(&ok) : 0;
    if (!ok || limits.pictures < 0) {
        fail(QStringLiteral("--count needs a number of pictures"));
        return std::nullopt;
    }
    return limits;
}

// One run of listening, set up before the device is opened: it ends at the
// limits or at Ctrl-C, printing each picture kept; a device that goes away is
// said, and waited for.
class ListenRun {
public:
    ListenRun(ListeningSession& session, const ListenLimits& limits)
        : limits_(limits), stopSignals_([this](int) { loop_.exit(0); })
    {
        QObject::connect(&session, &ListeningSession::pictureKept, &loop_,
                         [this](const ReceivedPicture& picture, const GalleryEntry& entry) { kept(picture, entry); });
        QObject::connect(&session, &ListeningSession::keepFailed, &loop_, [](const QString& message) {
            QTextStream(stderr) << "tonobild-cli: " << message << "; listening goes on" << Qt::endl;
        });
        QObject::connect(&session, &ListeningSession::deviceLost, &loop_, [](const QString& message) {
            QTextStream(stderr) << "tonobild-cli: " << message
                                << " What arrived of a transmission is kept; listening resumes when it is back."
                                << Qt::endl;
        });
        QObject::connect(&session, &ListeningSession::deviceBack, &loop_,
                         [] { QTextStream(stderr) << "tonobild-cli: the input device is back; listening goes on" << Qt::endl; });
        if (limits.seconds > 0)
            QTimer::singleShot(static_cast<int>(limits.seconds * 1000), &loop_, [this] { loop_.exit(0); });
    }

    void exec() { loop_.exec(); }
    int received() const { return received_; }

private:
    void kept(const ReceivedPicture& picture, const GalleryEntry& entry)
    {
        const std::string& report = picture.report;
        QTextStream(stdout) << "Received " << entry.picturePath << ": "
                            << QString::fromLatin1(report.data(), static_cast<qsizetype>(report.size())) << Qt::endl;
        if (++received_ == limits_.pictures)
            loop_.exit(0);
    }

    ListenLimits limits_;
    QEventLoop loop_;
    StopSignals stopSignals_;
    int received_ = 0;
};

} // namespace

int listenCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Listens to the input device and receives every transmission on it, in the standard modes (found by "
        "their VIS headers or their lines, decoded as \"decode --standard\" decodes) and in the station's own "
        "format (decoded as \"decode\" decodes, with the same options and defaults). Each picture is kept at "
        "once in the gallery folder as a PNG named by the local date and time and the sender's callsign or "
        "codeword, with its recording as WAV beside it and a line in index.txt. Listens until --seconds have "
        "passed, --count pictures were received, or Ctrl-C, which keeps the transmission coming in with the "
        "rows that arrived. An input device that goes away is waited for."));
    const ListenOptions options;
    parser.addOptions({options.gallery, options.input, options.seconds, options.count});
    const DecodeOptions decodeOptions;
    decodeOptions.addTo(parser);
    if (auto exit = parseOrExit(parser, arguments, 0))
        return *exit;
    const std::optional<ListenLimits> limits = limitsOf(parser, options);
    if (!limits)
        return 1;
    QString problem;
    std::optional<DecodeChoice> choice = decodeOptions.resolve(parser, nullptr, &problem);
    if (!choice)
        return fail(problem);
    const QString gallery = parser.value(options.gallery);
    problem = ListeningSession::galleryProblem(gallery); // before any sound device is looked for
    if (!problem.isEmpty())
        return fail(problem);

    OwnFinder own(choice->controls, choice->settings, [&](bool ticked) { choice->controls.licLock = ticked; });
    StandardFinder standard;
    ListeningSession session({&own, &standard});
    ListenRun run(session, *limits);
    const QAudioDevice device = AudioEngine::findInput(parser.value(options.input));
    problem = session.start(device, gallery);
    if (!problem.isEmpty())
        return fail(problem);
    QTextStream out(stdout);
    out << "Listening on " << device.description() << " into " << gallery << Qt::endl;
    run.exec();
    session.stop(); // a transmission coming in is kept with what arrived
    out << "Received " << run.received() << (run.received() == 1 ? " picture" : " pictures") << Qt::endl;
    if (const int lost = session.picturesLost(); lost > 0) // said as it happened, and in the exit code
        return fail(QStringLiteral("%1 received could not be kept in %2")
                        .arg(lost == 1 ? QStringLiteral("1 picture") : QStringLiteral("%1 pictures").arg(lost), gallery));
    return 0;
}

} // namespace tonobild::cli
