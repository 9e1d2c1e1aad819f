// tonobild-cli condition AUDIO RAW: the receiving front end alone, for other
// decoders or for a look at what it made of a recording.
#include <QTextStream>

#include "soundfile/wav_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/atomic_file.h"
#include "common/file_error.h"
#include "soundfile/sample_file.h"
#include "frontend/receiving_front_end.h"

namespace tonobild::cli {

int conditionCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Conditions a recording as \"decode --condition\" does (reads its WAV header, takes off a bias, takes the "
        "centre of each held sample at any recording rate and clock) and writes the samples the decoder would read "
        "to RAW, one byte per transmitted sample."));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("recording to condition"));
    parser.addPositionalArgument(QStringLiteral("RAW"), QStringLiteral("sample file to write"));
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;
    const QString audioPath = parser.positionalArguments().at(0);
    const QString rawPath = parser.positionalArguments().at(1);
    ConditionReport report;
    try {
        SampleFile recording(audioPath.toStdString());
        const std::vector<std::uint8_t> samples = conditionRecording(recording, &report);
        if (samples.empty()) // an empty RAW is no conditioned recording: nothing is written
            return fail(QStringLiteral("cannot condition %1: nothing in it could be read as transmitted samples")
                            .arg(audioPath));
        AtomicFile raw(rawPath.toStdString());
        raw.open();
        raw.write(samples.data(), samples.size());
        raw.commit();
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    } catch (const WavFormatError& error) {
        return fail(QStringLiteral("cannot condition %1: %2").arg(audioPath, QString::fromUtf8(error.what())));
    }
    QTextStream(stdout) << "Conditioned: " << QString::fromStdString(describe(report)) << '\n';
    return 0;
}

} // namespace tonobild::cli
