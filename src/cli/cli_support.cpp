#include "cli/cli_support.h"

#include <QTextStream>
#include <cstdio>

#include "common/file_error.h"
#include "signature/signature_codec.h"
#include "soundfile/sample_file.h"
#include "soundfile/wav_header.h"
#include "signature/signature_text.h"

namespace tonobild::cli {

int fail(const QString& reason)
{
    QTextStream(stderr) << "tonobild-cli: " << reason << '\n';
    return 1;
}

int sendToStandardOutput(PictureSender& sender)
{
    const SampleFormat format = sender.format();
    const std::uint64_t bytes = sender.sampleCount() * static_cast<std::uint64_t>(format.bits / 8);
    if (!fitsPcmWav(bytes))
        return fail(QStringLiteral("standard output takes a WAV of up to 4 GB only"));
    try {
        StandardOutput out;
        const auto header = pcmMonoHeader(format.rate, format.bits, static_cast<std::uint32_t>(bytes));
        out.write(header.data(), header.size());
        sender.send(out, {});
        out.finish();
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    QTextStream(stderr) << "Wrote standard output: " << QString::fromStdString(sender.contents()) << ", " << bytes
                        << " bytes, " << QString::number(sender.seconds(), 'f', 2) << " seconds at " << format.rate
                        << " samples per second\n";
    return 0;
}

std::optional<int> parseOrExit(QCommandLineParser& parser, const QStringList& arguments, int positionalCount)
{
    parser.addHelpOption();
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.positionalArguments().size() != positionalCount)
        return fail(QStringLiteral("expected %1 file arguments; see --help").arg(positionalCount));
    return std::nullopt;
}

std::optional<WorkingState> startState(const QCommandLineParser& parser, const QCommandLineOption& signature)
{
    WorkingState state;
    startUp(state);
    if (parser.isSet(signature)) {
        const auto text = amateurSignatureText(parser.value(signature));
        if (!text) {
            fail(QStringLiteral("the codeword can only hold Latin-1 characters"));
            return std::nullopt;
        }
        state.signature = *text;
    }
    return state;
}

QString readOutLine(const std::string& caption)
{
    const std::string line = oneLineReadOut(caption);
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

QCommandLineOption inputDeviceOption()
{
    return {QStringLiteral("input"),
            QStringLiteral("input device, by description or id (default: the system's default input)"),
            QStringLiteral("DEVICE")};
}

} // namespace tonobild::cli
