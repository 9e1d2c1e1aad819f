// tonobild-cli for the standard slow-scan modes: "modes" lists them,
// "encode --standard MODE" sends a picture in one, "decode --standard" receives
// a recording of one (the mode from its VIS header or its lines, or forced).
#include <QTextStream>
#include <cstdio>
#include <iterator>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/picture_io.h"
#include "common/file_error.h"
#include "family/standard_family.h"
#include "soundfile/recording.h"
#include "soundfile/wav_sink.h"

namespace tonobild::cli {

namespace {

using namespace standard;

QCommandLineOption valueOption(const char* name, const char* valueName, const char* help)
{
    return {QString::fromLatin1(name), QString::fromUtf8(help), QString::fromLatin1(valueName)};
}

QCommandLineOption switchOption(const char* name, const char* help)
{
    return {QString::fromLatin1(name), QString::fromUtf8(help)};
}

const StandardMode* modeNamed(const QString& name)
{
    const StandardMode* mode = findMode(name.toStdString());
    if (!mode)
        fail(QStringLiteral("unknown mode \"%1\"; \"tonobild-cli modes\" lists them").arg(name));
    return mode;
}

struct StandardEncodeOptions {
    QCommandLineOption standard = valueOption("standard", "MODE", "send in this standard mode (\"Martin 1\", \"M1\", \"pd120\", ...)");
    QCommandLineOption rate = valueOption("rate", "RATE", "samples per second: 44100 (default) or 48000");
    QCommandLineOption fskId = valueOption("fsk-id", "CALLSIGN", "send the callsign as FSK identification after the picture");
    QCommandLineOption vox = switchOption("vox", "send the VOX preamble of eight tones before the header");
    QCommandLineOption fit = valueOption("fit", "FIT", "a picture of another shape: bars (default: scaled whole, black bars), crop or stretch");
    QCommandLineOption fullRange = switchOption("full-range", "Robot and PD modes: full-range (JPEG) colour instead of the definition's studio range");
};

std::optional<Fit> fitNamed(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String("bars"))
        return Fit::Bars;
    if (name == QLatin1String("crop"))
        return Fit::Crop;
    if (name == QLatin1String("stretch"))
        return Fit::Stretch;
    fail(QStringLiteral("unknown fit \"%1\"; use bars, crop or stretch").arg(name));
    return std::nullopt;
}

// The settings the options give; prints the reason and answers nothing when one is wrong.
std::optional<StandardSendSettings> sendSettings(const QCommandLineParser& parser, const StandardEncodeOptions& o)
{
    StandardSendSettings settings;
    settings.mode = modeNamed(parser.value(o.standard));
    const std::optional<Fit> fit = fitNamed(parser.value(o.fit));
    const QString rate = parser.isSet(o.rate) ? parser.value(o.rate) : QStringLiteral("44100");
    if (!settings.mode || !fit)
        return std::nullopt;
    if (rate != QLatin1String("44100") && rate != QLatin1String("48000")) {
        fail(QStringLiteral("unknown rate \"%1\"; use 44100 or 48000").arg(rate));
        return std::nullopt;
    }
    settings.fit = *fit;
    settings.options.sampleRate = rate.toUInt();
    settings.options.vox = parser.isSet(o.vox);
    settings.options.callsign = parser.value(o.fskId).toStdString();
    settings.options.range = parser.isSet(o.fullRange) ? ColourRange::Full : ColourRange::Studio;
    return settings;
}

// Writes the transmission; prints what was written, or the reason it was not.
int writeTransmission(StandardSender& sender, const QString& audioPath)
{
    WavSink file(audioPath.toStdString(), sender.format());
    try {
        file.open();
        sender.send(file, {});
        file.commit();
    } catch (const FileError& error) {
        file.abandon();
        return fail(QString::fromStdString(error.what()));
    }
    QTextStream(stdout) << "Wrote " << audioPath << ": " << QString::fromStdString(sender.contents()) << ", "
                        << file.bytesWritten() << " bytes, " << QString::number(sender.seconds(), 'f', 2)
                        << " seconds at " << sender.format().rate << " samples per second\n";
    return 0;
}

struct StandardDecodeOptions {
    QCommandLineOption standard = switchOption("standard", "receive a standard slow-scan mode, found from the recording");
    QCommandLineOption mode = valueOption("standard-mode", "MODE", "receive in this mode, whatever the recording's header says");
    QCommandLineOption ppm = valueOption("ppm", "PPM", "the sender's line period against the mode's, in parts per million, instead of measuring it");
    QCommandLineOption offset = valueOption("offset", "HZ", "the receiver's mistuning in hertz, instead of measuring it");
};

// A number option's value; prints the reason and answers nothing when it is
// not a number or lies beyond the reach of +-`reach`.
std::optional<std::optional<double>> numberOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                                                  double reach)
{
    if (!parser.isSet(option))
        return std::optional<double>();
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || !standard::withinReach(value, reach)) {
        fail(QStringLiteral("--%1 takes a number from -%3 to %3, not \"%2\"")
                 .arg(option.names().first(), parser.value(option), QString::number(reach)));
        return std::nullopt;
    }
    return std::optional<double>(value);
}

std::optional<ReceiveOptions> receiveOptions(const QCommandLineParser& parser, const StandardDecodeOptions& o)
{
    ReceiveOptions options;
    if (parser.isSet(o.mode) && !(options.mode = modeNamed(parser.value(o.mode))))
        return std::nullopt;
    const auto ppm = numberOption(parser, o.ppm, standard::kHandPpmReach);
    const auto offset = numberOption(parser, o.offset, standard::kHandOffsetReach);
    if (!ppm || !offset)
        return std::nullopt;
    options.byHand = {*ppm, *offset};
    return options;
}

std::optional<StandardPicture> receiveRecording(Recording& recording, const ReceiveOptions& options)
{
    StandardReceiver receiver(recording.sampleRate(), options);
    for (auto block = recording.nextBlock(); !block.empty() && !receiver.done(); block = recording.nextBlock())
        receiver.feed(block);
    return receiver.finish();
}

// A command's description and its two files, as "--help" shows them.
struct CommandText {
    const char* description;
    const char* files[2][2]; // name, what it is
};

constexpr CommandText kEncodeText = {
    "Sends a picture file in a standard slow-scan mode: AUDIO is a 16-bit mono WAV file of the VIS header and the "
    "picture (optionally the VOX preamble before it and an FSK identification after it).",
    {{"PICTURE", "picture file to send"}, {"AUDIO", "WAV file to write, \"-\" for standard output"}}};

constexpr CommandText kDecodeText = {
    "Receives a recording of a standard slow-scan transmission (WAV of any kind, FLAC, OGG, MP3; \"-\" for standard "
    "input): the mode from its VIS header or its lines, the sender's clock and the receiver's mistuning measured and "
    "taken off. Writes the picture to PICTURE and prints what was found.",
    {{"AUDIO", "recording"}, {"PICTURE", "picture file to write"}}};

// Parses the arguments of a command with these options. Answers the exit code
// when the command ends here: a wrong argument, "--help", or the picture file
// (the first file when it is read, the second when it is written) handed to
// the program that reads or writes it.
std::optional<int> parsedHere(QCommandLineParser& parser, const CommandText& text,
                              const QList<QCommandLineOption>& options, const QStringList& arguments,
                              const QString& command, bool pictureRead)
{
    parser.setApplicationDescription(QString::fromUtf8(text.description));
    for (const auto& [name, what] : text.files)
        parser.addPositionalArgument(QString::fromLatin1(name), QString::fromUtf8(what));
    parser.addOptions(options);
    if (auto exit = parseOrExit(parser, arguments, 2))
        return exit;
    const QString picture = parser.positionalArguments().at(pictureRead ? 0 : 1);
    return pictureRead ? handOverUnlessReadHere(command, arguments, picture)
                       : handOverUnlessWrittenHere(command, arguments, picture);
}

} // namespace

bool asksForStandardMode(const QStringList& arguments)
{
    for (const QString& argument : arguments)
        for (const char* name : {"--standard", "--standard-mode"})
            if (argument == QLatin1String(name) || argument.startsWith(QLatin1String(name) + QLatin1Char('=')))
                return true;
    return false;
}

int modesCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lists the standard slow-scan modes: short name, name, VIS code, "
                                                    "size and seconds (header and picture)."));
    if (auto exit = parseOrExit(parser, arguments, 0))
        return *exit;
    QTextStream out(stdout);
    for (const StandardMode& mode : modeTable())
        out << qSetFieldWidth(9) << Qt::left << QString::fromStdString(mode.shortName) << qSetFieldWidth(16)
            << QString::fromStdString(mode.name) << qSetFieldWidth(0) << "VIS " << qSetFieldWidth(5) << mode.vis
            << qSetFieldWidth(10) << QStringLiteral("%1x%2").arg(mode.width).arg(mode.height) << qSetFieldWidth(0)
            << QString::number(transmissionSeconds(mode, {}), 'f', 1) << " s\n";
    return 0;
}

int standardEncodeCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const StandardEncodeOptions o;
    if (auto exit = parsedHere(parser, kEncodeText, {o.standard, o.rate, o.fskId, o.vox, o.fit, o.fullRange},
                               arguments, QStringLiteral("encode"), true))
        return *exit;
    const std::optional<StandardSendSettings> settings = sendSettings(parser, o);
    if (!settings)
        return 1;
    const std::optional<WorkingPicture> picture = loadPicture(parser.positionalArguments().at(0));
    if (!picture)
        return 1;
    StandardSender sender(*picture, *settings);
    const QString audioPath = parser.positionalArguments().at(1);
    return audioPath == QLatin1String("-") ? sendToStandardOutput(sender) : writeTransmission(sender, audioPath);
}

int standardDecodeCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const StandardDecodeOptions o;
    if (auto exit = parsedHere(parser, kDecodeText, {o.standard, o.mode, o.ppm, o.offset}, arguments,
                               QStringLiteral("decode"), false))
        return *exit;
    const QString audioPath = parser.positionalArguments().at(0), picturePath = parser.positionalArguments().at(1);
    const std::optional<ReceiveOptions> receive = receiveOptions(parser, o);
    if (!receive)
        return 1;
    std::optional<StandardPicture> received;
    try {
        Recording recording(audioPath.toStdString()); // "-": standard input
        received = receiveRecording(recording, *receive);
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    } catch (const std::invalid_argument& error) {
        return fail(QStringLiteral("cannot receive %1: %2").arg(audioPath, QString::fromStdString(error.what())));
    }
    if (!received)
        return fail(QStringLiteral("no standard transmission found in %1").arg(audioPath));
    if (const QString problem = savePicture(received->picture, picturePath); !problem.isEmpty())
        return fail(problem);
    QTextStream(stdout) << QString::fromStdString(describe(received->report)) << '\n';
    return 0;
}

} // namespace tonobild::cli
