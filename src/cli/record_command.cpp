// tonobild-cli record FILE --seconds N: records N seconds from the input device
// into FILE as the recorder saves it (8-bit unsigned mono at 44100 samples per
// second after the 58-byte recording header), without a window.
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
#include <vector>

#include "audio/audio_engine.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/file_error.h"

namespace tonobild::cli {

int recordCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Records from the input device into FILE: 8-bit unsigned mono at 44100 samples per "
                       "second, saved after the 58-byte recording header with its sizes filled in."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("WAV file to write"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("length of the recording"),
                                     QStringLiteral("N"));
    const QCommandLineOption input = inputDeviceOption();
    parser.addOptions({seconds, input});
    if (auto exit = parseOrExit(parser, arguments, 1))
        return *exit;
    bool ok = false;
    const double length = parser.value(seconds).toDouble(&ok);
    if (!parser.isSet(seconds) || !ok || length <= 0 || length > 3600)
        return fail(QStringLiteral("--seconds needs a length between 0 and 3600 seconds"));
    const QString path = parser.positionalArguments().at(0);
    const auto wanted = static_cast<std::size_t>(length * kRecordingRate);

    AudioEngine engine;
    std::vector<std::uint8_t> samples;
    samples.reserve(wanted);
    QEventLoop loop;
    QString problem;
    QObject::connect(&engine, &AudioEngine::samplesRecorded, &loop, [&](const QByteArray& chunk) {
        samples.insert(samples.end(), chunk.begin(), chunk.end());
        if (samples.size() >= wanted)
            loop.exit(0);
    });
    QObject::connect(&engine, &AudioEngine::recordingFailed, &loop, [&](const QString& reason) {
        problem = reason;
        loop.exit(1);
    });
    // A device that delivers nothing must not hold the command for ever.
    QTimer::singleShot(static_cast<int>(length * 1000) + 10000, &loop, [&] {
        problem = QStringLiteral("the input device delivered too few samples");
        loop.exit(1);
    });
    const QString started = engine.startRecording(AudioEngine::findInput(parser.value(input)));
    if (!started.isEmpty())
        return fail(started);
    QTextStream(stdout) << "Recording" << Qt::endl;
    const int result = loop.exec();
    engine.stopRecording();
    if (result != 0 && samples.empty())
        return fail(problem);
    if (samples.size() > wanted)
        samples.resize(wanted);
    try {
        writeRecordingFile(path.toStdString(), samples);
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    QTextStream(stdout) << "Wrote " << path << ": " << samples.size() << " samples at " << kRecordingRate
                        << " samples per second" << Qt::endl;
    if (result != 0)
        return fail(problem + QStringLiteral("; what was recorded is saved"));
    return 0;
}

} // namespace tonobild::cli
