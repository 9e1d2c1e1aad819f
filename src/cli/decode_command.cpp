// tonobild-cli decode AUDIO PICTURE: the window's Decode without a window.
#include <QTextStream>
#include <memory>
#include <optional>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/decode_options.h"
#include "cli/detection.h"
#include "cli/picture_io.h"
#include "common/file_error.h"
#include "decoder/decode_option_table.h"
#include "decoder/recording_decode.h"
#include "frontend/receiving_front_end.h"
#include "signature/signature_codec.h"

namespace tonobild::cli {

namespace {

QString endName(DecodeEnd end)
{
    switch (end) {
    case DecodeEnd::EndOfFile:
        return QStringLiteral("end of file");
    case DecodeEnd::Stopped:
        return QStringLiteral("stopped");
    case DecodeEnd::ThirdPass:
        return QStringLiteral("third pass");
    case DecodeEnd::Abandoned:
        break;
    }
    return QStringLiteral("abandoned");
}

void describe(QCommandLineParser& parser, const DecodeOptions& options, const QCommandLineOption& detect,
              const QCommandLineOption& condition)
{
    parser.setApplicationDescription(QStringLiteral(
        "Decodes a recorded transmission: every byte of AUDIO is a sample (a WAV header passes through "
        "the leader). Writes the decoded working picture to PICTURE (black where nothing was painted) "
        "and prints the signature read-out.\n"
        "The defaults are the main window's start-up controls (HSync, Use LIC, LIC Lock, Dynamic Sync "
        "+16, LIC Inset 4-lock, Sync Level -32, 160x120) except the normalising level, which is 3 "
        "(Direct), the first-time guide's choice, so that what \"tonobild-cli encode\" writes decodes "
        "with no options.\n"
        "With --standard it receives a standard slow-scan mode instead; "
        "\"tonobild-cli decode --standard --help\" describes its options."));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("recorded audio or RAW sample file"));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("picture file to write"));
    options.addTo(parser);
    parser.addOptions({detect, condition});
}

// The file, or its conditioned samples when given, decoded; prints the reason
// and answers nothing when the file cannot be read.
std::optional<DecodedRecording> decodeFile(const QString& audioPath, const std::vector<std::uint8_t>* conditioned,
                                           const DecodeChoice& choice)
{
    try {
        std::unique_ptr<SampleSource> samples;
        if (conditioned)
            samples = std::make_unique<MemorySamples>(*conditioned);
        else
            samples = std::make_unique<SampleFile>(audioPath.toStdString());
        return decodeUnattended(*samples, choice.controls, choice.settings);
    } catch (const FileError& error) {
        fail(QString::fromStdString(error.what()));
    }
    return std::nullopt;
}

} // namespace

int decodeCommand(const QStringList& arguments)
{
    if (asksForStandardMode(arguments))
        return standardDecodeCommand(arguments);
    QCommandLineParser parser;
    const DecodeOptions options;
    const QCommandLineOption detect(QStringLiteral("detect"),
                                    QStringLiteral("read the resolution, \"Half X\", \"Mono Image\" and \"Compand\" "
                                                   "out of AUDIO first, as \"detect\" does; the options given here "
                                                   "override what it finds"));
    const QCommandLineOption condition = conditionOption();
    describe(parser, options, detect, condition);
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;
    const QString audioPath = parser.positionalArguments().at(0);
    const QString picturePath = parser.positionalArguments().at(1);
    if (auto elsewhere = handOverUnlessWrittenHere(QStringLiteral("decode"), arguments, picturePath))
        return *elsewhere;
    // With --condition the conditioned samples are both detected and decoded; so are those of standard input.
    std::optional<ConditionReport> conditioning;
    std::optional<std::vector<std::uint8_t>> conditioned;
    if (parser.isSet(condition) && !(conditioned = conditionFile(audioPath, conditioning.emplace())))
        return 1;
    if (!conditioned && audioPath == QLatin1String("-") && !(conditioned = standardInputSamples()))
        return 1;
    std::optional<DetectedSettings> detected;
    if (parser.isSet(detect) && !(detected = detectInFile(audioPath, conditioned ? &*conditioned : nullptr)))
        return 1;
    QString problem;
    const auto choice = options.resolve(parser, detected ? &*detected : nullptr, &problem);
    if (!choice)
        return fail(problem);
    std::optional<DecodedRecording> decoded = decodeFile(audioPath, conditioned ? &*conditioned : nullptr, *choice);
    if (!decoded)
        return 1;
    problem = savePicture(decoded->picture, picturePath);
    if (!problem.isEmpty())
        return fail(QStringLiteral("cannot write %1: %2").arg(picturePath, problem));
    const std::string caption = readSignatureCaption(decoded->picture, decoded->state, choice->controls.compand);
    QTextStream out(stdout);
    if (conditioning)
        out << "Conditioned: " << QString::fromStdString(describe(*conditioning)) << '\n';
    if (detected)
        out << "Detected " << decodeOptionsFor(*detected).join(QLatin1Char(' ')) << " ("
            << QString::fromStdString(certaintyText(*detected)) << ")\n";
    out << "Decoded " << audioPath << " (" << endName(decoded->end) << ") into " << picturePath << ", "
        << QString::fromStdString(sizeText(choice->settings.pictureWidth)) << '\n';
    out << "Signature: " << readOutLine(caption) << '\n';
    return 0;
}

} // namespace tonobild::cli
