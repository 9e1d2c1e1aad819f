#include "cli/cli_support.h"

#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

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

namespace {

// Passes on exactly the bytes a header announced before the samples were
// made: a standard transmission's tone may end a sample after the length
// reckoned from its mode's figures, or before it.
class AnnouncedLength final : public SampleSink {
public:
    AnnouncedLength(SampleSink& out, std::uint64_t bytes) : out_(out), left_(bytes) {}
    void write(const std::uint8_t* samples, std::size_t count) override
    {
        const auto taken = static_cast<std::size_t>(std::min<std::uint64_t>(count, left_));
        out_.write(samples, taken);
        left_ -= taken;
    }
    // The rest, if the samples fell short, as silence.
    void fillWith(std::uint8_t silence)
    {
        const std::vector<std::uint8_t> rest(static_cast<std::size_t>(left_), silence);
        out_.write(rest.data(), rest.size());
        left_ = 0;
    }

private:
    SampleSink& out_;
    std::uint64_t left_;
};

} // namespace

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
        AnnouncedLength samples(out, bytes);
        sender.send(samples, {});
        samples.fillWith(format.bits == 8 ? 128 : 0);
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
