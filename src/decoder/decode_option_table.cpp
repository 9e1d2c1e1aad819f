#include "decoder/decode_option_table.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <type_traits>

#include "picture/resolution.h"

namespace tonobild {

namespace {

constexpr int kLargestShift = 32767;

bool isSize(int width)
{
    return resolutionOfWidth(width).has_value();
}

// The value of a control or a setting in a setup (part is DecodeSetup::controls
// or DecodeSetup::settings), and of a "--no-..." switch, which unticks a control
// ticked at start-up.
template <auto part, auto field>
int read(const DecodeSetup& setup)
{
    return static_cast<int>(setup.*part.*field);
}

template <auto part, auto field>
void write(DecodeSetup& setup, int value)
{
    using Field = std::remove_cvref_t<decltype(setup.*part.*field)>;
    setup.*part.*field = static_cast<Field>(value);
}

template <auto field>
int readUnticked(const DecodeSetup& setup)
{
    return setup.controls.*field ? 0 : 1;
}

template <auto field>
void writeUnticked(DecodeSetup& setup, int applies)
{
    setup.controls.*field = applies == 0;
}

constexpr auto kControls = &DecodeSetup::controls;
constexpr auto kSettings = &DecodeSetup::settings;

// A switch that ticks a control or a setting.
template <auto part, auto field>
constexpr DecodeOption ticks(std::string_view name, std::string_view caption, std::string_view help)
{
    return {name, caption, OptionKind::Switch, 0, read<part, field>, write<part, field>, nullptr, {}, false, {}, help};
}

// A switch ("--no-...") that unticks a control ticked at start-up.
template <auto field>
constexpr DecodeOption unticks(std::string_view name, std::string_view caption, std::string_view help)
{
    return {name, caption, OptionKind::Switch, 0, readUnticked<field>, writeUnticked<field>, nullptr, {}, false, {},
            help};
}

// A number the decoder takes when takes() says so, else refused with the reason.
template <auto part, auto field>
constexpr DecodeOption number(std::string_view name, std::string_view caption, int byDefault, bool (*takes)(int),
                              std::string_view refusal, std::string_view help)
{
    return {name, caption, OptionKind::Number, byDefault, read<part, field>, write<part, field>, takes, refusal,
            false, "N", help};
}

constexpr DecodeOption alwaysNamed(DecodeOption option)
{
    option.alwaysNamed = true;
    return option;
}

int readSize(const DecodeSetup& setup)
{
    return setup.settings.pictureWidth;
}

void writeSize(DecodeSetup& setup, int width)
{
    setup.settings.pictureWidth = width;
    setup.settings.pictureHeight = heightForWidth(width);
}

constexpr std::string_view kShiftRefusal = "--xshift and --yshift must be numbers from -32767 to 32767";

const DecodeOption kOptions[] = {
    {"resolution", "resolution", OptionKind::Size, 160, readSize, writeSize, isSize, "unknown resolution", true,
     "WxH", "160x120 (default), 320x240 or 640x480"},
    ticks<kSettings, &DecodeSettings::halfX>("half-x", "Half X", "column step 2 (\"Half X\")"),
    {"rb-half-x", "R+B HalfX", OptionKind::Switch, 0, [](const DecodeSetup& s) { return int{s.rbHalfX}; },
     [](DecodeSetup& s, int applies) { s.rbHalfX = applies != 0; }, nullptr, {}, false, {},
     "\"R+B HalfX\": unticks \"Half X\" before the decode"},
    ticks<kControls, &DecoderControls::compand>("compand", "Compand", "expand companded values"),
    ticks<kSettings, &DecodeSettings::mono>("mono", "Mono",
                                            "the sender left out the blue pass (\"Mono Image\"): the two passes "
                                            "give green and red, and blue is taken from green"),
    ticks<kControls, &DecoderControls::third>("third", "Third", "end a cycle at every sixth high sample"),
    ticks<kControls, &DecoderControls::idler>("idler", "Idler", "accept syncs only in the last 7 positions of a line"),
    unticks<&DecoderControls::hsync>("no-hsync", "HSync", "no line syncs: paint every value at once"),
    unticks<&DecoderControls::useLic>("no-lic", "Use LIC",
                                      "paint lines at their syncs instead of filing them by their code"),
    unticks<&DecoderControls::licLock>("no-lic-lock", "LIC Lock",
                                       "read the code at the inset without aligning on the marker"),
    unticks<&DecoderControls::dynamicSync>("no-dynamic-sync", "Dynamic Sync", "keep the sync threshold where it starts"),
    number<kSettings, &DecodeSettings::syncOffset>(
        "sync-offset", "Dynamic Sync offset", 16, [](int v) { return v == 8 || v == 16 || v == 32; },
        "--sync-offset must be 8, 16 or 32", "Dynamic Sync offset: 8, 16 (default) or 32"),
    number<kControls, &DecoderControls::licInset>(
        "lic-inset", "LIC Inset", 4, [](int v) { return v == 1 || (v >= 4 && v <= 10); },
        "--lic-inset must be 1, 4, 5, 6, 7, 8, 9 or 10", "LIC Inset: 1, 4 (default, \"4-lock\"), 5, 6, 7, 8, 9 or 10"),
    number<kSettings, &DecodeSettings::syncLevel>("sync-level", "Sync Level", -32,
                                                  [](int v) { return v >= -64 && v <= 32; },
                                                  "--sync-level must be a number from -64 to 32",
                                                  "starting sync threshold, -64 to 32 (default -32)"),
    alwaysNamed(number<kSettings, &DecodeSettings::normlevel>(
        "level", "Active Normalising level", 3, [](int v) { return v == 2 || v == 3; }, "--level must be 2 or 3",
        "Active Normalising: 2 (Tape) or 3 (Direct, default)")),
    number<kSettings, &DecodeSettings::xshift>("xshift", "XShift", 0,
                                               [](int v) { return std::abs(v) <= kLargestShift; }, kShiftRefusal,
                                               "XShift (default 0)"),
    number<kSettings, &DecodeSettings::yshift>("yshift", "YShift", 0,
                                               [](int v) { return std::abs(v) <= kLargestShift; }, kShiftRefusal,
                                               "YShift (default 0)"),
};

} // namespace

DecodeSettings DecodeSetup::startSettings() const noexcept
{
    DecodeSettings start = settings;
    start.halfX = settings.halfX && !rbHalfX;
    return start;
}

std::span<const DecodeOption> decodeOptions() noexcept
{
    return kOptions;
}

const DecodeOption& decodeOption(std::string_view name)
{
    const auto found = std::ranges::find(kOptions, name, &DecodeOption::name);
    if (found == std::end(kOptions))
        throw std::invalid_argument("no decode option " + std::string(name));
    return *found;
}

DecodeSetup defaultDecodeSetup()
{
    DecodeSetup setup;
    for (const DecodeOption& option : kOptions)
        option.write(setup, option.byDefault);
    return setup;
}

std::vector<const DecodeOption*> optionsInTextOrder()
{
    std::vector<const DecodeOption*> ordered;
    for (const bool always : {true, false})
        for (const DecodeOption& option : kOptions)
            if (option.alwaysNamed == always)
                ordered.push_back(&option);
    return ordered;
}

bool isNamed(const DecodeOption& option, const DecodeSetup& setup)
{
    return option.alwaysNamed || option.read(setup) != option.byDefault;
}

std::string sizeText(int width)
{
    return std::to_string(width) + "x" + std::to_string(heightForWidth(width));
}

std::optional<int> parseSize(std::string_view text)
{
    for (const Resolution resolution : {Resolution::R160x120, Resolution::R320x240, Resolution::R640x480})
        if (const int width = resolutionSize(resolution).width; text == sizeText(width))
            return width;
    return std::nullopt;
}

std::string optionText(const DecodeOption& option, int value)
{
    const std::string name = "--" + std::string(option.name);
    switch (option.kind) {
    case OptionKind::Switch:
        return name;
    case OptionKind::Size:
        return name + " " + sizeText(value);
    case OptionKind::Number:
        break;
    }
    return name + " " + std::to_string(value);
}

std::string decodeOptionsText(const DecoderControls& controls, const DecodeSettings& settings)
{
    const DecodeSetup setup{controls, settings, false};
    std::string text;
    for (const DecodeOption* option : optionsInTextOrder())
        if (isNamed(*option, setup))
            text += (text.empty() ? "" : " ") + optionText(*option, option->read(setup));
    return text;
}

std::string senderSettingsCaption(int pictureWidth, bool halfX, bool compand, bool mono)
{
    std::string caption = sizeText(pictureWidth);
    for (const auto& [applies, name] : {std::pair{halfX, "half-x"}, {compand, "compand"}, {mono, "mono"}})
        if (applies)
            caption += ", " + std::string(decodeOption(name).caption);
    return caption;
}

} // namespace tonobild
