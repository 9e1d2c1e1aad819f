#include "cli/decode_options.h"

#include <QStringList>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "cli/mode_option.h"

namespace tonobild::cli {

namespace {

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

} // namespace

DecodeOptions::DecodeOptions()
    : resolution_(QStringLiteral("resolution"), QStringLiteral("160x120 (default), 320x240 or 640x480"),
                  QStringLiteral("WxH"), QStringLiteral("160x120")),
      halfX_(QStringLiteral("half-x"), QStringLiteral("column step 2 (\"Half X\")")),
      rbHalfX_(QStringLiteral("rb-half-x"), QStringLiteral("\"R+B HalfX\": unticks \"Half X\" before the decode")),
      compand_(QStringLiteral("compand"), QStringLiteral("expand companded values")),
      mono_(QStringLiteral("mono"), QStringLiteral("the sender left out the blue pass (\"Mono Image\"): the two passes "
                                                   "give green and red, and blue is taken from green")),
      third_(QStringLiteral("third"), QStringLiteral("end a cycle at every sixth high sample")),
      idler_(QStringLiteral("idler"), QStringLiteral("accept syncs only in the last 7 positions of a line")),
      noHsync_(QStringLiteral("no-hsync"), QStringLiteral("no line syncs: paint every value at once")),
      noLic_(QStringLiteral("no-lic"), QStringLiteral("paint lines at their syncs instead of filing them by their code")),
      noLicLock_(QStringLiteral("no-lic-lock"),
                 QStringLiteral("read the code at the inset without aligning on the marker")),
      noDynamicSync_(QStringLiteral("no-dynamic-sync"), QStringLiteral("keep the sync threshold where it starts")),
      syncOffset_(QStringLiteral("sync-offset"), QStringLiteral("Dynamic Sync offset: 8, 16 (default) or 32"),
                  QStringLiteral("N"), QStringLiteral("16")),
      licInset_(QStringLiteral("lic-inset"), QStringLiteral("LIC Inset: 1, 4 (default, \"4-lock\"), 5, 6, 7, 8, 9 or 10"),
                QStringLiteral("N"), QStringLiteral("4")),
      syncLevel_(QStringLiteral("sync-level"), QStringLiteral("starting sync threshold, -64 to 32 (default -32)"),
                 QStringLiteral("N"), QStringLiteral("-32")),
      level_(QStringLiteral("level"), QStringLiteral("Active Normalising: 2 (Tape) or 3 (Direct, default)"),
             QStringLiteral("N"), QStringLiteral("3")),
      xshift_(QStringLiteral("xshift"), QStringLiteral("XShift (default 0)"), QStringLiteral("N"), QStringLiteral("0")),
      yshift_(QStringLiteral("yshift"), QStringLiteral("YShift (default 0)"), QStringLiteral("N"), QStringLiteral("0")),
      mode_(QStringLiteral("mode"),
            QStringLiteral("take every setting from this mode's stored preset (FM, CB, HAM, TAPE or HIRES), as the "
                           "window's mode button does; the options given here override it"),
            QStringLiteral("MODE"))
{
}

void DecodeOptions::addTo(QCommandLineParser& parser) const
{
    parser.addOptions({resolution_, halfX_, rbHalfX_, compand_, mono_, third_, idler_, noHsync_, noLic_, noLicLock_,
                       noDynamicSync_, syncOffset_, licInset_, syncLevel_, level_, xshift_, yshift_, mode_});
}

std::optional<DecodeChoice> DecodeOptions::resolve(const QCommandLineParser& parser, const DetectedSettings* detected,
                                                   QString* error) const
{
    const auto refuse = [&](const QString& reason) -> std::optional<DecodeChoice> {
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    };
    // Without --mode the window's start-up controls apply; with it, the mode's preset.
    QString resolutionText = parser.value(resolution_);
    QString offsetText = parser.value(syncOffset_);
    QString insetText = parser.value(licInset_);
    QString levelText = parser.value(level_);
    std::optional<ModeDecodeValues> preset;
    if (parser.isSet(mode_)) {
        const auto chosen = parseModeName(parser.value(mode_));
        if (!chosen)
            return refuse(QStringLiteral("unknown mode \"%1\"; use FM, CB, HAM, TAPE or HIRES").arg(parser.value(mode_)));
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
            {fromPreset(parser.isSet(resolution_) || detected != nullptr, resolutionText, preset->resolution),
             "resolution (--resolution)"},
            {fromPreset(parser.isSet(level_), levelText, preset->level), "Active Normalising level (--level)"},
            {fromPreset(parser.isSet(syncOffset_), offsetText, preset->syncOffset),
             "Dynamic Sync offset (--sync-offset)"},
            {fromPreset(parser.isSet(licInset_), insetText, preset->licInset), "LIC Inset (--lic-inset)"},
        };
        for (const auto& [ok, what] : found)
            if (!ok)
                return refuse(QStringLiteral("the %1 preset selects no %2").arg(parser.value(mode_).toUpper(), what));
    }

    if (detected != nullptr && !parser.isSet(resolution_))
        resolutionText = QStringLiteral("%1x%2").arg(detected->pictureWidth).arg(detected->pictureHeight);
    const auto size = parseResolution(resolutionText);
    if (!size)
        return refuse(QStringLiteral("unknown resolution \"%1\"").arg(resolutionText));
    const auto offset = parseNumber(offsetText);
    if (!offset || (*offset != 8 && *offset != 16 && *offset != 32))
        return refuse(QStringLiteral("--sync-offset must be 8, 16 or 32"));
    const auto inset = parseNumber(insetText);
    if (!inset || !isLicInset(*inset))
        return refuse(QStringLiteral("--lic-inset must be 1, 4, 5, 6, 7, 8, 9 or 10"));
    const auto threshold = parseNumber(parser.value(syncLevel_));
    if (!threshold || *threshold < -64 || *threshold > 32)
        return refuse(QStringLiteral("--sync-level must be a number from -64 to 32"));
    const auto normlevel = parseNumber(levelText);
    if (!normlevel || (*normlevel != 2 && *normlevel != 3))
        return refuse(QStringLiteral("--level must be 2 or 3"));
    const auto columnShift = parseNumber(parser.value(xshift_));
    const auto rowShift = parseNumber(parser.value(yshift_));
    if (!columnShift || !rowShift || std::abs(*columnShift) > 32767 || std::abs(*rowShift) > 32767)
        return refuse(QStringLiteral("--xshift and --yshift must be numbers from -32767 to 32767"));

    DecodeChoice choice;
    choice.size = *size;
    DecoderControls& controls = choice.controls;
    const auto ticked = [&](bool fromPreset, bool startValue) { return preset ? fromPreset : startValue; };
    controls.hsync = ticked(preset && preset->hsync, true) && !parser.isSet(noHsync_);
    controls.useLic = ticked(preset && preset->useLic, true) && !parser.isSet(noLic_);
    controls.licLock = ticked(preset && preset->licLock, true) && !parser.isSet(noLicLock_);
    controls.dynamicSync = ticked(preset && preset->dynamicSync, true) && !parser.isSet(noDynamicSync_);
    controls.idler = (preset && preset->idler) || parser.isSet(idler_);
    // Settings read out of the recording take the place of the preset's.
    const auto detectedOr = [&](bool detectedValue, bool presetValue) {
        return detected != nullptr ? detectedValue : presetValue;
    };
    controls.compand =
        parser.isSet(compand_) || detectedOr(detected != nullptr && detected->compand, preset && preset->compand);
    controls.third = parser.isSet(third_);
    controls.licInset = *inset;
    DecodeSettings& settings = choice.settings;
    settings.pictureWidth = size->width;
    settings.pictureHeight = size->height;
    const bool rbHalf = (preset && preset->rbHalfX) || parser.isSet(rbHalfX_);
    settings.halfX = (parser.isSet(halfX_) ||
                      detectedOr(detected != nullptr && detected->halfX, preset && preset->halfX)) &&
                     !rbHalf;
    settings.mono = parser.isSet(mono_) || (detected != nullptr && detected->mono);
    settings.normlevel = *normlevel;
    settings.syncOffset = *offset;
    settings.syncLevel = *threshold;
    settings.xshift = *columnShift;
    settings.yshift = *rowShift;
    return choice;
}

} // namespace tonobild::cli
