// tonobild-cli play FILE: plays a PCM WAV file through the output device, as
// "tonobild-recorder /play /close FILE" does, without a window.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>

#include "audio/audio_engine.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/file_error.h"

namespace tonobild::cli {

int playCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a PCM WAV file (8- or 16-bit, mono or stereo, any rate) through the output device. "
                       "The samples are repeated up to a rate the device runs at, so that the sound server does "
                       "not resample them."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("WAV file to play"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("output device, by description or id (default: the "
                                                   "system's default output)"),
                                    QStringLiteral("DEVICE"));
    parser.addOption(output);
    if (auto exit = parseOrExit(parser, arguments, 1))
        return *exit;
    const QString path = parser.positionalArguments().at(0);

    WavAudio audio;
    try {
        audio = readWavFile(path.toStdString());
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    } catch (const WavFormatError& error) {
        return fail(QStringLiteral("cannot play %1: %2").arg(path, QString::fromUtf8(error.what())));
    }

    AudioEngine engine;
    QEventLoop loop;
    QString problem;
    QObject::connect(&engine, &AudioEngine::playingFinished, &loop, [&loop] { loop.exit(0); });
    QObject::connect(&engine, &AudioEngine::playingFailed, &loop, [&](const QString& reason) {
        problem = reason;
        loop.exit(1);
    });
    const QString started = engine.startPlaying(audio, AudioEngine::findOutput(parser.value(output)));
    if (!started.isEmpty())
        return fail(started);
    QTextStream(stdout) << "Playing " << path << ": " << engine.playbackDescription() << Qt::endl;
    if (loop.exec() != 0)
        return fail(problem);
    QTextStream(stdout) << "Played " << audio.frameCount() << " frames" << Qt::endl;
    return 0;
}

} // namespace tonobild::cli
