// tonobild-cli encode PICTURE AUDIO.wav: "Load from file" then Encode, without a window.
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/mode_option.h"
#include "cli/picture_io.h"
#include "common/file_error.h"
#include "common/signal_format.h"
#include "decoder/decode_option_table.h"
#include "encoder/transmission_files.h"
#include "family/own_controls.h"
#include "family/own_family.h"
#include "settings/option_choices.h"
#include "signature/preparation.h"
#include "signature/signature_codec.h"
#include "signature/signature_text.h"

namespace tonobild::cli {

namespace {

QCommandLineOption switchOption(const char* name, const char* help)
{
    return {QString::fromLatin1(name), QString::fromUtf8(help)};
}

QCommandLineOption valueOption(const char* name, const char* valueName, const char* byDefault, const char* help)
{
    return {QString::fromLatin1(name), QString::fromUtf8(help), QString::fromLatin1(valueName),
            QString::fromLatin1(byDefault)};
}

struct EncodeOptions {
    QCommandLineOption resolution = valueOption(
        "resolution", "WxH", "160x120",
        "the resolution option selected before the picture is prepared: 160x120 (default), 320x240 or 640x480; "
        "the preparation then chooses from the picture's width");
    QCommandLineOption signature = valueOption(
        "signature", "CODEWORD", "", "stamp the Amateur signature with this codeword (default: an empty signature)");
    QCommandLineOption noPrepare = switchOption(
        "no-prepare", "send the picture as loaded, at --resolution, without choosing the resolution or stamping");
    QCommandLineOption halfX = switchOption("half-x", "send every second column (\"Half X\")");
    QCommandLineOption compand = switchOption("compand", "compand the picture values");
    QCommandLineOption mono = switchOption("mono", "leave out the blue pass (\"Mono Image\")");
    QCommandLineOption slow = switchOption("slow", "8000 samples per second (\"Slow\")");
    QCommandLineOption cb = switchOption("cb", "CB mode: with --slow the leader lasts one second");
    QCommandLineOption mode = valueOption("mode", "MODE", "",
                                          "take every setting from this mode's stored preset (FM, CB, HAM, TAPE or "
                                          "HIRES), as the window's mode button does; the options given here add to it");
    QCommandLineOption playerWav = switchOption(
        "player-wav", "also write the player WAV for other programs: the same samples, each held 4 times at 44100 "
                      "(6 times at 48000 with --slow), named with \"-player\" before the audio file's extension");
};

void describe(QCommandLineParser& parser, const EncodeOptions& options)
{
    parser.setApplicationDescription(
        QStringLiteral("Encodes a picture file into a transmission: AUDIO (8-bit mono WAV) and the RAW "
                       "sample file beside it (the audio name with its last three characters replaced by RAW).\n"
                       "With --standard MODE it sends in a standard slow-scan mode instead; "
                       "\"tonobild-cli encode --standard M1 --help\" describes its options."));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("picture file to send"));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("WAV file to write (\"-\": the WAV alone on "
                                                                         "standard output)"));
    parser.addOptions({options.resolution, options.signature, options.noPrepare, options.halfX, options.compand,
                       options.mono, options.slow, options.cb, options.mode, options.playerWav});
}

// The numbered controls as the window would hold them: the mode's preset or
// the start values, with the options given as clicks on top. Prints the
// reason and answers nothing when a mode or a resolution is unknown or missing.
std::optional<PresetControls> encodeControls(const QCommandLineParser& parser, const EncodeOptions& options)
{
    PresetControls controls;
    if (parser.isSet(options.mode)) {
        const auto chosen = parseModeName(parser.value(options.mode));
        if (!chosen) {
            fail(QStringLiteral("unknown mode \"%1\"; use FM, CB, HAM, TAPE or HIRES").arg(parser.value(options.mode)));
            return std::nullopt;
        }
        controls = userControlsForMode(*chosen);
        if (!parser.isSet(options.resolution) && !numberedEncoderSettings(controls)) {
            fail(QStringLiteral("the %1 preset selects no resolution; give --resolution")
                     .arg(parser.value(options.mode).toUpper()));
            return std::nullopt;
        }
    }
    const QString resolution = parser.value(options.resolution);
    const std::optional<int> width = parseSize(resolution.toStdString());
    if (!width) {
        fail(QStringLiteral("unknown resolution \"%1\"").arg(resolution));
        return std::nullopt;
    }
    if (parser.isSet(options.resolution) || !parser.isSet(options.mode))
        controls.setOption(resolutionOption(*resolutionOfWidth(*width)), true);
    for (const auto& [option, check] : {std::pair{&options.halfX, kHalfXCheck}, {&options.compand, kCompandCheck},
                                        {&options.slow, kSlowCheck}})
        if (parser.isSet(*option))
            controls.setCheck(check, 1);
    for (const auto& [option, number] : {std::pair{&options.mono, kMonoImageOption}, {&options.cb, kCbModeOption}})
        if (parser.isSet(*option))
            controls.setOption(number, true);
    return controls;
}

// A codeword longer than a receiver reads back is cut to what comes back whole, and the cut is told.
void fitSignatureToTransmission(WorkingState& state, const QString& codeword, Resolution sent, int columnStep)
{
    const ResolutionSize size = resolutionSize(sent);
    const int room = longestReadableSignature(groupsPerLine(size.width, columnStep), columnStep);
    const int readable = readableCodewordLength(room);
    if (codeword.size() <= readable)
        return;
    QTextStream(stderr) << "tonobild-cli: warning: "
                        << codewordCapacityNote(codeword, room, transmissionSizeName(size.width, size.height, columnStep))
                        << '\n';
    state.signature = *amateurSignatureText(codeword.left(readable));
}

// "Load from file" and its preparation: the resolution option follows the picture's width.
void prepare(WorkingPicture& picture, WorkingState& state, PresetControls& controls, const QCommandLineParser& parser,
             const EncodeOptions& options)
{
    const EncoderSettings selected = *numberedEncoderSettings(controls);
    Resolution resolution = *resolutionOfSize(selected.pictureWidth, selected.pictureHeight);
    if (parser.isSet(options.signature))
        fitSignatureToTransmission(state, parser.value(options.signature),
                                   parser.isSet(options.noPrepare) ? resolution : chooseResolution(picture),
                                   selected.columnStep);
    if (parser.isSet(options.noPrepare))
        return;
    p1updat(picture, state, resolution, numberedEncoderControls(controls).compand);
    controls.setOption(resolutionOption(resolution), true);
}

} // namespace

int encodeCommand(const QStringList& arguments)
{
    if (asksForStandardMode(arguments))
        return standardEncodeCommand(arguments);
    QCommandLineParser parser;
    const EncodeOptions options;
    describe(parser, options);
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;
    const QString picturePath = parser.positionalArguments().at(0);
    const QString audioPath = parser.positionalArguments().at(1);
    if (auto elsewhere = handOverUnlessReadHere(QStringLiteral("encode"), arguments, picturePath))
        return *elsewhere;
    std::optional<PresetControls> controls = encodeControls(parser, options);
    if (!controls)
        return 1;
    std::optional<WorkingState> state = startState(parser, options.signature);
    if (!state)
        return 1;
    std::optional<WorkingPicture> picture = loadPicture(picturePath);
    if (!picture)
        return 1;
    prepare(*picture, *state, *controls, parser, options);

    const EncoderControls encoderControls = numberedEncoderControls(*controls);
    OwnSender sender(*picture, encoderControls, *state, *numberedEncoderSettings(*controls),
                     numberedTransmissionRate(*controls));
    if (audioPath == QLatin1String("-"))
        return sendToStandardOutput(sender);
    const std::uint32_t rate = sender.format().rate;
    TransmissionFiles files(audioPath.toStdString(), rate,
                            parser.isSet(options.playerWav) ? TransmissionFiles::PlayerWav::With
                                                            : TransmissionFiles::PlayerWav::Without);
    std::string playerProblem;
    try {
        files.open();
        sender.send(files, {});
        playerProblem = files.commit();
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    QTextStream(stdout) << "Wrote " << QString::fromStdString(files.wavPath()) << " and "
                        << QString::fromStdString(files.rawPath()) << ": " << QString::fromStdString(sender.contents())
                        << ", " << files.bytesWritten() << " bytes, " << QString::number(sender.seconds(), 'f', 2)
                        << " seconds at " << rate << " samples per second\n";
    if (!playerProblem.empty())
        return fail(QStringLiteral("the WAV for other players was not written: %1")
                        .arg(QString::fromStdString(playerProblem)));
    if (parser.isSet(options.playerWav))
        QTextStream(stdout) << "Wrote " << QString::fromStdString(files.playerPath()) << " for other players: "
                            << playerRateFor(rate).rate << " samples per second\n";
    return 0;
}

} // namespace tonobild::cli
