// tonobild-cli encode PICTURE AUDIO.wav: "Load from file" then Encode, without a window.
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/mode_option.h"
#include "cli/picture_io.h"
#include "common/file_error.h"
#include "decoder/decoder.h"
#include "encoder/encoder.h"
#include "common/signal_format.h"
#include "encoder/transmission_files.h"
#include "signature/preparation.h"
#include "signature/signature_codec.h"
#include "signature/signature_text.h"

namespace tonobild::cli {

namespace {

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

} // namespace

int encodeCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Encodes a picture file into a transmission: AUDIO (8-bit mono WAV) and the RAW "
                       "sample file beside it (the audio name with its last three characters replaced by RAW)."));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("picture file to send"));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("WAV file to write"));
    const QCommandLineOption resolution(
        QStringLiteral("resolution"),
        QStringLiteral("the resolution option selected before the picture is prepared: 160x120 (default), "
                       "320x240 or 640x480; the preparation then chooses from the picture's width"),
        QStringLiteral("WxH"), QStringLiteral("160x120"));
    const QCommandLineOption signature(QStringLiteral("signature"),
                                       QStringLiteral("stamp the Amateur signature with this codeword "
                                                      "(default: an empty signature)"),
                                       QStringLiteral("CODEWORD"));
    const QCommandLineOption noPrepare(QStringLiteral("no-prepare"),
                                       QStringLiteral("send the picture as loaded, at --resolution, "
                                                      "without choosing the resolution or stamping"));
    const QCommandLineOption halfX(QStringLiteral("half-x"), QStringLiteral("send every second column (\"Half X\")"));
    const QCommandLineOption compand(QStringLiteral("compand"), QStringLiteral("compand the picture values"));
    const QCommandLineOption mono(QStringLiteral("mono"), QStringLiteral("leave out the blue pass (\"Mono Image\")"));
    const QCommandLineOption slow(QStringLiteral("slow"), QStringLiteral("8000 samples per second (\"Slow\")"));
    const QCommandLineOption cb(QStringLiteral("cb"),
                                QStringLiteral("CB mode: with --slow the leader lasts one second"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("take every setting from this mode's stored preset (FM, CB, HAM, "
                                                 "TAPE or HIRES), as the window's mode button does; the options "
                                                 "given here add to it"),
                                  QStringLiteral("MODE"));
    const QCommandLineOption playerWav(
        QStringLiteral("player-wav"),
        QStringLiteral("also write the player WAV for other programs: the same samples, each held 4 times at 44100 "
                       "(6 times at 48000 with --slow), named with \"-player\" before the audio file's extension"));
    parser.addOptions({resolution, signature, noPrepare, halfX, compand, mono, slow, cb, mode, playerWav});
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;
    const QString picturePath = parser.positionalArguments().at(0);
    const QString audioPath = parser.positionalArguments().at(1);
    if (auto elsewhere = handOverUnlessReadHere(QStringLiteral("encode"), arguments, picturePath))
        return *elsewhere;

    ModeEncodeValues preset;
    QString resolutionText = parser.value(resolution);
    if (parser.isSet(mode)) {
        const auto chosen = parseModeName(parser.value(mode));
        if (!chosen)
            return fail(QStringLiteral("unknown mode \"%1\"; use FM, CB, HAM, TAPE or HIRES").arg(parser.value(mode)));
        preset = encodeValues(userControlsForMode(*chosen), *chosen);
        if (!parser.isSet(resolution)) {
            if (!preset.resolution)
                return fail(QStringLiteral("the %1 preset selects no resolution; give --resolution")
                                .arg(parser.value(mode).toUpper()));
            resolutionText = *preset.resolution;
        }
    }

    const auto size = parseResolution(resolutionText);
    if (!size)
        return fail(QStringLiteral("unknown resolution \"%1\"").arg(resolutionText));
    Resolution selected = *resolutionOfSize(size->width, size->height);
    std::optional<WorkingState> started = startState(parser, signature);
    if (!started)
        return 1;
    WorkingState& state = *started;

    std::optional<WorkingPicture> loaded = loadPicture(picturePath);
    if (!loaded)
        return 1;
    WorkingPicture& picture = *loaded;
    const bool companding = preset.compand || parser.isSet(compand);
    const int columnStep = (preset.halfX || parser.isSet(halfX)) ? 2 : 1;
    if (parser.isSet(signature))
        fitSignatureToTransmission(state, parser.value(signature),
                                   parser.isSet(noPrepare) ? selected : chooseResolution(picture), columnStep);
    if (!parser.isSet(noPrepare))
        p1updat(picture, state, selected, companding);

    EncoderSettings settings;
    settings.pictureWidth = resolutionSize(selected).width;
    settings.pictureHeight = resolutionSize(selected).height;
    settings.columnStep = columnStep;
    settings.mono = preset.mono || parser.isSet(mono);
    const bool isSlow = preset.slow || parser.isSet(slow);
    settings.leaderSeconds = ((preset.cb || parser.isSet(cb)) && isSlow) ? 1 : 5;
    const int rate = isSlow ? kSlowRate : kTransmissionRate;
    EncoderControls controls;
    controls.compand = companding;

    TransmissionFiles files(audioPath.toStdString(), static_cast<std::uint32_t>(rate),
                            parser.isSet(playerWav) ? TransmissionFiles::PlayerWav::With
                                                    : TransmissionFiles::PlayerWav::Without);
    std::string playerProblem;
    try {
        files.open();
        Encoder encoder(picture, controls, state, files);
        encoder.run(settings);
        playerProblem = files.commit();
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    const auto groups = settings.streamGroups();
    QTextStream(stdout) << "Wrote " << QString::fromStdString(files.wavPath()) << " and "
                        << QString::fromStdString(files.rawPath()) << ": " << groups << " groups, "
                        << files.bytesWritten() << " bytes, "
                        << QString::number(static_cast<double>(files.bytesWritten()) / rate, 'f', 2)
                        << " seconds at " << rate << " samples per second\n";
    if (!playerProblem.empty())
        return fail(QStringLiteral("the WAV for other players was not written: %1")
                        .arg(QString::fromStdString(playerProblem)));
    if (parser.isSet(playerWav))
        QTextStream(stdout) << "Wrote " << QString::fromStdString(files.playerPath()) << " for other players: "
                            << playerRateFor(static_cast<std::uint32_t>(rate)).rate << " samples per second\n";
    return 0;
}

} // namespace tonobild::cli
