// tonobild-cli condition AUDIO RAW: the receiving front end alone, for other
// decoders or for a look at what it made of a recording.
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/detection.h"
#include "common/atomic_file.h"
#include "common/file_error.h"
#include "soundfile/sample_file.h"

namespace tonobild::cli {

namespace {

// The samples into the RAW file, or onto standard output for "-".
void writeRaw(const std::string& path, const std::vector<std::uint8_t>& samples)
{
    if (path == "-") {
        StandardOutput out;
        out.write(samples.data(), samples.size());
        out.finish();
        return;
    }
    AtomicFile raw(path);
    raw.open();
    raw.write(samples.data(), samples.size());
    raw.commit();
}

} // namespace

int conditionCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Conditions a recording as \"decode --condition\" does (reads it through libsndfile: WAV, FLAC, OGG, MP3, "
        "...; takes off a bias, finds the hold length from the line syncs, reads the centre of each held sample or "
        "rebuilds the transmission from its quarter-rate tone) and writes the samples the decoder would read to "
        "RAW, one byte per transmitted sample. \"-\" reads the recording from standard input, and writes the RAW "
        "to standard output (the report then goes to standard error)."));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("recording to condition"));
    parser.addPositionalArgument(QStringLiteral("RAW"), QStringLiteral("sample file to write"));
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;
    const QString audioPath = parser.positionalArguments().at(0);
    const QString rawPath = parser.positionalArguments().at(1);
    ConditionReport report;
    const std::optional<std::vector<std::uint8_t>> samples = conditionFile(audioPath, report);
    if (!samples)
        return 1;
    if (samples->empty()) // an empty RAW is no conditioned recording: nothing is written
        return fail(QStringLiteral("cannot condition %1: nothing in it could be read as transmitted samples")
                        .arg(audioPath));
    try {
        writeRaw(rawPath.toStdString(), *samples);
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    FILE* const reportTo = rawPath == QLatin1String("-") ? stderr : stdout;
    QTextStream(reportTo) << "Conditioned: " << QString::fromStdString(describe(report)) << '\n';
    return 0;
}

} // namespace tonobild::cli
