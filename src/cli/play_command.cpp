// tonobild-cli play FILE: plays a PCM WAV file through the output device, as
// "tonobild-recorder /play /close FILE" does, without a window. With
// --rig-model and --rig-port the transmitter is keyed through Hamlib for the
// lead, the samples and the tail, and released on every way out, an
// interrupting SIGINT, SIGTERM or SIGHUP included.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>
#include <variant>

#include "audio/audio_engine.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/stop_signals.h"
#include "common/file_error.h"
#include "transmitter/hamlib_ptt.h"
#include "transmitter/keyed_player.h"

namespace tonobild::cli {

namespace {

struct PlayOptions {
    QCommandLineOption output{QStringLiteral("output"),
                              QStringLiteral("output device, by description or id (default: the system's "
                                             "default output)"),
                              QStringLiteral("DEVICE")};
    QCommandLineOption rigModel{QStringLiteral("rig-model"),
                                QStringLiteral("Hamlib rig model to key while playing (2: a rigctld on the "
                                               "network; \"rigctl --list\" names them all)"),
                                QStringLiteral("N")};
    QCommandLineOption rigPort{QStringLiteral("rig-port"),
                               QStringLiteral("serial device of the rig, or HOST:PORT of a rigctld"),
                               QStringLiteral("PORT")};
    QCommandLineOption ptt{QStringLiteral("ptt"), QStringLiteral("how to key: cat, rts, dtr or none (default cat)"),
                           QStringLiteral("METHOD"), QStringLiteral("cat")};
    QCommandLineOption lead{QStringLiteral("lead"),
                            QStringLiteral("seconds keyed before the first sample (default 0.5)"),
                            QStringLiteral("SECONDS"), QStringLiteral("0.5")};
    QCommandLineOption tail{QStringLiteral("tail"),
                            QStringLiteral("seconds keyed after the last sample (default 0.5)"),
                            QStringLiteral("SECONDS"), QStringLiteral("0.5")};
};

// The transmitter of the options; PTT method none when no rig is named.
// Answers the reason instead when an option is not what it should be.
std::variant<TransmitterSettings, QString> transmitterOf(const QCommandLineParser& parser, const PlayOptions& o)
{
    TransmitterSettings settings;
    if (!parser.isSet(o.rigModel) && !parser.isSet(o.rigPort)) {
        if (parser.isSet(o.ptt) || parser.isSet(o.lead) || parser.isSet(o.tail))
            return QStringLiteral("--ptt, --lead and --tail need --rig-model and --rig-port");
        return settings;
    }
    if (!parser.isSet(o.rigModel) || !parser.isSet(o.rigPort))
        return QStringLiteral("--rig-model and --rig-port go together");
    const auto model = parseRigModel(parser.value(o.rigModel).toStdString());
    const auto method = parsePttMethod(parser.value(o.ptt).toStdString());
    const auto lead = parseKeyingSeconds(parser.value(o.lead).toStdString());
    const auto tail = parseKeyingSeconds(parser.value(o.tail).toStdString());
    if (!model)
        return QStringLiteral("--rig-model \"%1\" is not a rig model number").arg(parser.value(o.rigModel));
    if (!method)
        return QStringLiteral("--ptt \"%1\" is not one of cat, rts, dtr, none").arg(parser.value(o.ptt));
    if (!lead || !tail)
        return QStringLiteral("--lead and --tail take seconds from 0 to %1").arg(kMaxKeyingSeconds);
    settings = {*model, parser.value(o.rigPort).toStdString(), *method, *lead, *tail};
    return settings;
}

int play(const WavAudio& audio, const QString& path, const QAudioDevice& device, const TransmitterSettings& rig)
{
    AudioEngine engine;
    KeyedPlayer player(engine);
    QEventLoop loop;
    QString problem;
    int stoppedBy = 0;
    QTextStream out(stdout);
    QObject::connect(&player, &KeyedPlayer::keyedChanged, &loop, [&](bool keyed) {
        const char* what = keyed ? "Transmitter keyed: "
                           : player.releaseProblem().isEmpty() ? "Transmitter released: "
                                                               : "Transmitter NOT released: ";
        out << what << player.rigDescription() << Qt::endl;
    });
    QObject::connect(&player, &KeyedPlayer::samplesStarted, &loop, [&](const QString& description) {
        out << "Playing " << path << ": " << description << Qt::endl;
    });
    QObject::connect(&player, &KeyedPlayer::finished, &loop, [&](const QString& reason) {
        problem = reason;
        loop.exit(reason.isEmpty() ? 0 : 1);
    });
    // Installed before the rig is opened: an interruption from here on releases it.
    const StopSignals interruptions([&](int signal) {
        stoppedBy = signal;
        problem = player.stop();
        loop.exit(1);
    });
    OpenedPtt opened = openHamlibPtt(rig);
    if (!opened.problem.empty())
        return fail(QString::fromStdString(opened.problem) + QStringLiteral(" Nothing was played."));
    const QString started = player.start(audio, device, std::move(opened.line), rig.leadSeconds, rig.tailSeconds);
    if (!started.isEmpty())
        return fail(started);
    if (loop.exec() == 0) {
        out << "Played " << audio.frameCount() << " frames" << Qt::endl;
        return 0;
    }
    if (stoppedBy != 0) {
        out << "Stopped by signal " << stoppedBy << Qt::endl;
        if (!problem.isEmpty())
            fail(problem);
        return 128 + stoppedBy;
    }
    return fail(problem);
}

} // namespace

int playCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a PCM WAV file (8- or 16-bit, mono or stereo, any rate) through the output device. "
                       "The samples are repeated up to a rate the device runs at, so that the sound server does "
                       "not resample them. With --rig-model and --rig-port the transmitter is keyed through "
                       "Hamlib from the lead before the first sample to the tail after the last."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("WAV file to play"));
    const PlayOptions options;
    parser.addOptions({options.output, options.rigModel, options.rigPort, options.ptt, options.lead, options.tail});
    if (auto exit = parseOrExit(parser, arguments, 1))
        return *exit;
    const QString path = parser.positionalArguments().at(0);
    const auto rig = transmitterOf(parser, options);
    if (const QString* reason = std::get_if<QString>(&rig))
        return fail(*reason);

    WavAudio audio;
    try {
        audio = readWavFile(path.toStdString());
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    } catch (const WavFormatError& error) {
        return fail(QStringLiteral("cannot play %1: %2").arg(path, QString::fromUtf8(error.what())));
    }
    return play(audio, path, AudioEngine::findOutput(parser.value(options.output)),
                std::get<TransmitterSettings>(rig));
}

} // namespace tonobild::cli
