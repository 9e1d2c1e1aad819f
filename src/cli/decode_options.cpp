#include "cli/decode_options.h"

#include "cli/mode_option.h"
#include "family/own_controls.h"

namespace tonobild::cli {

namespace {

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QCommandLineOption commandLineOption(const DecodeOption& option)
{
    if (option.kind == OptionKind::Switch)
        return {text(option.name), text(option.help)};
    const QString byDefault = option.kind == OptionKind::Size ? QString::fromStdString(sizeText(option.byDefault))
                                                               : QString::number(option.byDefault);
    return {text(option.name), text(option.help), text(option.valueName), byDefault};
}

// The value of an option given with this text; nothing when the decoder does not take it.
std::optional<int> valueOf(const DecodeOption& option, const QString& given)
{
    if (option.kind == OptionKind::Switch)
        return 1;
    if (option.kind == OptionKind::Size)
        return parseSize(given.toStdString());
    bool ok = false;
    const int value = given.toInt(&ok);
    return ok && option.takes(value) ? std::optional(value) : std::nullopt;
}

std::optional<DecodeChoice> refuse(QString* error, const QString& reason)
{
    if (error != nullptr)
        *error = reason;
    return std::nullopt;
}

} // namespace

DecodeOptions::DecodeOptions()
    : mode_(QStringLiteral("mode"),
            QStringLiteral("take every setting from this mode's stored preset (FM, CB, HAM, TAPE or HIRES), as the "
                           "window's mode button does; the options given here override it"),
            QStringLiteral("MODE"))
{
    for (const DecodeOption& option : decodeOptions())
        options_.push_back(commandLineOption(option));
}

void DecodeOptions::addTo(QCommandLineParser& parser) const
{
    for (const QCommandLineOption& option : options_)
        parser.addOption(option);
    parser.addOption(mode_);
}

std::optional<DecodeChoice> DecodeOptions::resolve(const QCommandLineParser& parser, const DetectedSettings* detected,
                                                   QString* error) const
{
    QString unknownMode;
    std::optional<DecodeSetup> setup = startSetup(parser, unknownMode);
    if (!setup)
        return refuse(error, unknownMode);
    if (detected != nullptr)
        takeDetected(*detected, *setup);
    if (const QString lacking = choiceThePresetLacks(parser, *setup); !lacking.isEmpty())
        return refuse(error, lacking);
    if (const QString refused = takeGivenOptions(parser, *setup); !refused.isEmpty())
        return refuse(error, refused);
    return DecodeChoice{setup->controls, setup->startSettings()};
}

// Without --mode the window's start-up controls, with it the mode's preset;
// nothing, and why, for a mode that is none of the five.
std::optional<DecodeSetup> DecodeOptions::startSetup(const QCommandLineParser& parser, QString& unknownMode) const
{
    if (!parser.isSet(mode_))
        return defaultDecodeSetup();
    const auto chosen = parseModeName(parser.value(mode_));
    if (!chosen) {
        unknownMode = QStringLiteral("unknown mode \"%1\"; use FM, CB, HAM, TAPE or HIRES").arg(parser.value(mode_));
        return std::nullopt;
    }
    return numberedDecodeSetup(userControlsForMode(*chosen));
}

// The first choice a preset leaves unmade that no option given makes: "the
// HAM preset selects no resolution (--resolution)"; empty without one.
QString DecodeOptions::choiceThePresetLacks(const QCommandLineParser& parser, const DecodeSetup& setup) const
{
    if (!parser.isSet(mode_))
        return {};
    const std::span<const DecodeOption> table = decodeOptions();
    for (const DecodeOption* option : optionsInTextOrder()) {
        const bool given = parser.isSet(options_[static_cast<std::size_t>(option - table.data())]);
        if (option->takes != nullptr && !given && !option->takes(option->read(setup)))
            return QStringLiteral("the %1 preset selects no %2 (--%3)")
                .arg(parser.value(mode_).toUpper(), text(option->caption), text(option->name));
    }
    return {};
}

// The options given, in the order of the table; the reason the first one
// whose value the decoder does not take is refused, else empty.
QString DecodeOptions::takeGivenOptions(const QCommandLineParser& parser, DecodeSetup& setup) const
{
    const std::span<const DecodeOption> table = decodeOptions();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!parser.isSet(options_[i]))
            continue;
        const QString given = parser.value(options_[i]);
        const std::optional<int> value = valueOf(table[i], given);
        if (!value)
            return table[i].kind == OptionKind::Size ? QStringLiteral("%1 \"%2\"").arg(text(table[i].refusal), given)
                                                     : text(table[i].refusal);
        table[i].write(setup, *value);
    }
    return {};
}

} // namespace tonobild::cli
