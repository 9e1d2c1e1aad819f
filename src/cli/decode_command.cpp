// tonobild-cli decode AUDIO PICTURE: the window's Decode without a window.
#include <QTextStream>
#include <cstdlib>
#include <memory>
#include <optional>
#include <type_traits>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/detection.h"
#include "cli/mode_option.h"
#include "common/file_error.h"
#include "decoder/decoder.h"
#include "picture/picture_files.h"
#include "receiver/receiving_front_end.h"
#include "signature/signature_codec.h"

namespace tonobild::cli {

namespace {

// Keeps "LIC Lock" in the controls as the window's check box does; never yields.
class CliHost final : public DecoderHost {
public:
    explicit CliHost(DecoderControls& controls) : controls_(controls) {}
    bool progressStep() override { return true; }
    bool rebuildRow() override { return true; }
    void setLicLock(bool ticked) override { controls_.licLock = ticked; }

private:
    DecoderControls& controls_;
};

std::optional<int> parseNumber(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

bool isLicInset(int inset)
{
    return inset == 1 || (inset >= 4 && inset <= 10);
}

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

} // namespace

int decodeCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Decodes a recorded transmission: every byte of AUDIO is a sample (a WAV header passes through "
        "the leader). Writes the decoded working picture to PICTURE (black where nothing was painted) "
        "and prints the signature read-out.\n"
        "The defaults are the main window's start-up controls (HSync, Use LIC, LIC Lock, Dynamic Sync "
        "+16, LIC Inset 4-lock, Sync Level -32, 160x120) except the normalising level, which is 3 "
        "(Direct), the first-time guide's choice, so that what \"tonobild-cli encode\" writes decodes "
        "with no options."));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("recorded audio or RAW sample file"));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("picture file to write"));
    const QCommandLineOption resolution(QStringLiteral("resolution"),
                                        QStringLiteral("160x120 (default), 320x240 or 640x480"),
                                        QStringLiteral("WxH"), QStringLiteral("160x120"));
    const QCommandLineOption halfX(QStringLiteral("half-x"), QStringLiteral("column step 2 (\"Half X\")"));
    const QCommandLineOption rbHalfX(QStringLiteral("rb-half-x"),
                                     QStringLiteral("\"R+B HalfX\": unticks \"Half X\" before the decode"));
    const QCommandLineOption compand(QStringLiteral("compand"), QStringLiteral("expand companded values"));
    const QCommandLineOption mono(QStringLiteral("mono"),
                                  QStringLiteral("the sender left out the blue pass (\"Mono Image\"): the two passes "
                                                 "give green and red, and blue is taken from green"));
    const QCommandLineOption detect(QStringLiteral("detect"),
                                    QStringLiteral("read the resolution, \"Half X\", \"Mono Image\" and \"Compand\" "
                                                   "out of AUDIO first, as \"detect\" does; the options given here "
                                                   "override what it finds"));
    const QCommandLineOption third(QStringLiteral("third"), QStringLiteral("end a cycle at every sixth high sample"));
    const QCommandLineOption idler(QStringLiteral("idler"),
                                   QStringLiteral("accept syncs only in the last 7 positions of a line"));
    const QCommandLineOption noHsync(QStringLiteral("no-hsync"),
                                     QStringLiteral("no line syncs: paint every value at once"));
    const QCommandLineOption noLic(QStringLiteral("no-lic"),
                                   QStringLiteral("paint lines at their syncs instead of filing them by their code"));
    const QCommandLineOption noLicLock(QStringLiteral("no-lic-lock"),
                                       QStringLiteral("read the code at the inset without aligning on the marker"));
    const QCommandLineOption noDynamicSync(QStringLiteral("no-dynamic-sync"),
                                           QStringLiteral("keep the sync threshold where it starts"));
    const QCommandLineOption syncOffset(QStringLiteral("sync-offset"),
                                        QStringLiteral("Dynamic Sync offset: 8, 16 (default) or 32"),
                                        QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption licInset(QStringLiteral("lic-inset"),
                                      QStringLiteral("LIC Inset: 1, 4 (default, \"4-lock\"), 5, 6, 7, 8, 9 or 10"),
                                      QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption syncLevel(QStringLiteral("sync-level"),
                                       QStringLiteral("starting sync threshold, -64 to 32 (default -32)"),
                                       QStringLiteral("N"), QStringLiteral("-32"));
    const QCommandLineOption level(QStringLiteral("level"),
                                   QStringLiteral("Active Normalising: 2 (Tape) or 3 (Direct, default)"),
                                   QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption xshift(QStringLiteral("xshift"), QStringLiteral("XShift (default 0)"),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption yshift(QStringLiteral("yshift"), QStringLiteral("YShift (default 0)"),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("take every setting from this mode's stored preset (FM, CB, HAM, "
                                                 "TAPE or HIRES), as the window's mode button does; the options "
                                                 "given here override it"),
                                  QStringLiteral("MODE"));
    const QCommandLineOption condition(
        QStringLiteral("condition"),
        QStringLiteral("condition the recording first (before --detect): read its WAV header, take off a bias, and "
                       "take the centre of each held sample at any recording rate and clock (a recording from a "
                       "sound card)"));
    parser.addOptions({resolution, halfX, rbHalfX, compand, mono, detect, condition, third, idler, noHsync, noLic,
                       noLicLock, noDynamicSync, syncOffset, licInset, syncLevel, level, xshift, yshift, mode});
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;
    const QString audioPath = parser.positionalArguments().at(0);
    // With --condition the conditioned samples are both detected and decoded.
    std::optional<ConditionReport> conditioning;
    std::optional<std::vector<std::uint8_t>> conditioned;
    if (parser.isSet(condition) && !(conditioned = conditionFile(audioPath, conditioning.emplace())))
        return 1;
    std::optional<DetectedSettings> detected;
    if (parser.isSet(detect) && !(detected = detectInFile(audioPath, conditioned ? &*conditioned : nullptr)))
        return 1;

    // Without --mode the window's start-up controls apply; with it, the mode's preset.
    QString resolutionText = parser.value(resolution);
    QString offsetText = parser.value(syncOffset);
    QString insetText = parser.value(licInset);
    QString levelText = parser.value(level);
    std::optional<ModeDecodeValues> preset;
    if (parser.isSet(mode)) {
        const auto chosen = parseModeName(parser.value(mode));
        if (!chosen)
            return fail(QStringLiteral("unknown mode \"%1\"; use FM, CB, HAM, TAPE or HIRES").arg(parser.value(mode)));
        preset = decodeValues(userControlsForMode(*chosen));
        // An option given here wins; else the preset's value; false when the preset has none.
        const auto fromPreset = [&](bool given, QString& text, const auto& stored) -> bool {
            if (given)
                return true;
            if (!stored)
                return false;
            if constexpr (std::is_same_v<std::decay_t<decltype(*stored)>, QString>)
                text = *stored;
            else
                text = QString::number(*stored);
            return true;
        };
        const std::pair<bool, const char*> found[] = {
            {fromPreset(parser.isSet(resolution) || detected, resolutionText, preset->resolution),
             "resolution (--resolution)"},
            {fromPreset(parser.isSet(level), levelText, preset->level), "Active Normalising level (--level)"},
            {fromPreset(parser.isSet(syncOffset), offsetText, preset->syncOffset),
             "Dynamic Sync offset (--sync-offset)"},
            {fromPreset(parser.isSet(licInset), insetText, preset->licInset), "LIC Inset (--lic-inset)"},
        };
        for (const auto& [ok, what] : found)
            if (!ok)
                return fail(QStringLiteral("the %1 preset selects no %2").arg(parser.value(mode).toUpper(), what));
    }

    if (detected && !parser.isSet(resolution))
        resolutionText = QStringLiteral("%1x%2").arg(detected->pictureWidth).arg(detected->pictureHeight);
    const auto size = parseResolution(resolutionText);
    if (!size)
        return fail(QStringLiteral("unknown resolution \"%1\"").arg(resolutionText));
    const auto offset = parseNumber(offsetText);
    if (!offset || (*offset != 8 && *offset != 16 && *offset != 32))
        return fail(QStringLiteral("--sync-offset must be 8, 16 or 32"));
    const auto inset = parseNumber(insetText);
    if (!inset || !isLicInset(*inset))
        return fail(QStringLiteral("--lic-inset must be 1, 4, 5, 6, 7, 8, 9 or 10"));
    const auto threshold = parseNumber(parser.value(syncLevel));
    if (!threshold || *threshold < -64 || *threshold > 32)
        return fail(QStringLiteral("--sync-level must be a number from -64 to 32"));
    const auto normlevel = parseNumber(levelText);
    if (!normlevel || (*normlevel != 2 && *normlevel != 3))
        return fail(QStringLiteral("--level must be 2 or 3"));
    const auto columnShift = parseNumber(parser.value(xshift));
    const auto rowShift = parseNumber(parser.value(yshift));
    if (!columnShift || !rowShift || std::abs(*columnShift) > 32767 || std::abs(*rowShift) > 32767)
        return fail(QStringLiteral("--xshift and --yshift must be numbers from -32767 to 32767"));

    DecoderControls controls;
    const auto ticked = [&](bool fromPreset, bool startValue) { return preset ? fromPreset : startValue; };
    controls.hsync = ticked(preset && preset->hsync, true) && !parser.isSet(noHsync);
    controls.useLic = ticked(preset && preset->useLic, true) && !parser.isSet(noLic);
    controls.licLock = ticked(preset && preset->licLock, true) && !parser.isSet(noLicLock);
    controls.dynamicSync = ticked(preset && preset->dynamicSync, true) && !parser.isSet(noDynamicSync);
    controls.idler = (preset && preset->idler) || parser.isSet(idler);
    // With --detect the detector's findings take the place of the preset's.
    const auto detectedOr = [&](bool detectedValue, bool presetValue) {
        return detected ? detectedValue : presetValue;
    };
    controls.compand = parser.isSet(compand) || detectedOr(detected && detected->compand, preset && preset->compand);
    controls.third = parser.isSet(third);
    controls.licInset = *inset;
    DecodeSettings settings;
    settings.pictureWidth = size->width;
    settings.pictureHeight = size->height;
    const bool rbHalf = (preset && preset->rbHalfX) || parser.isSet(rbHalfX);
    settings.halfX =
        (parser.isSet(halfX) || detectedOr(detected && detected->halfX, preset && preset->halfX)) && !rbHalf;
    settings.mono = parser.isSet(mono) || (detected && detected->mono);
    settings.normlevel = *normlevel;
    settings.syncOffset = *offset;
    settings.syncLevel = *threshold;
    settings.xshift = *columnShift;
    settings.yshift = *rowShift;

    const QString picturePath = parser.positionalArguments().at(1);
    WorkingPicture picture(size->width, size->height);
    WorkingState state;
    state.sigscale = 1;
    DecodeEnd end = DecodeEnd::EndOfFile;
    try {
        std::unique_ptr<SampleSource> samples;
        if (conditioned)
            samples = std::make_unique<MemorySamples>(*conditioned);
        else
            samples = std::make_unique<SampleFile>(audioPath.toStdString());
        CliHost host(controls);
        Decoder decoder(picture, state, controls, host);
        decoder.begin(settings);
        end = decoder.run(*samples);
        decoder.finish();
    } catch (const FileError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    const QString problem = savePictureFile(toImage(picture), picturePath);
    if (!problem.isEmpty())
        return fail(QStringLiteral("cannot write %1: %2").arg(picturePath, problem));
    const std::string caption = readSignatureCaption(picture, state, controls.compand);
    QTextStream out(stdout);
    if (conditioning)
        out << "Conditioned: " << QString::fromStdString(describe(*conditioning)) << '\n';
    if (detected)
        out << "Detected " << decodeOptionsFor(*detected).join(QLatin1Char(' ')) << " ("
            << QString::fromStdString(certaintyText(*detected)) << ")\n";
    out << "Decoded " << audioPath << " (" << endName(end) << ") into " << picturePath << ", " << size->width
        << "x" << size->height << '\n';
    out << "Signature: " << QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()))
               .replace(QStringLiteral("\r\n"), QStringLiteral("; "))
        << '\n';
    return 0;
}

} // namespace tonobild::cli
