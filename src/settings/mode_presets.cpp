#include "settings/mode_presets.h"

#include <charconv>

namespace tonobild {

const std::array<ModeInfo, 5> kModes = {{
    {Mode::FM, "FM", 15},
    {Mode::CB, "CB", 16},
    {Mode::HAM, "HAM", 25},
    {Mode::TAPE, "TAPE", 26},
    {Mode::HIRES, "HIRES", 27},
}};

const ModeInfo& modeInfo(Mode mode)
{
    return kModes.at(static_cast<std::size_t>(mode));
}

std::optional<Mode> modeFromNumber(int number)
{
    for (const ModeInfo& info : kModes)
        if (info.number == number)
            return info.mode;
    return std::nullopt;
}

std::optional<Mode> modeFromSection(const std::string& section)
{
    for (const ModeInfo& info : kModes)
        if (section == info.section)
            return info.mode;
    return std::nullopt;
}

std::optional<Mode> selectedMode(bool option15, bool option16, bool option25, bool option26, bool option27)
{
    const std::array<bool, 5> selected = {option15, option16, option25, option26, option27};
    std::optional<Mode> result;
    for (std::size_t i = 0; i < kModes.size(); ++i)
        if (selected[i])
            result = kModes[i].mode;
    return result;
}

std::optional<Mode> readDefaultMode(const SettingsStore& store)
{
    const auto number = parseStoredNumber(store.read(kSettingsSection, kDefaultModeKey, "15"));
    return number ? modeFromNumber(*number) : std::nullopt;
}

void writeDefaultMode(SettingsStore& store, std::optional<Mode> mode)
{
    store.write(kSettingsSection, kDefaultModeKey, std::to_string(mode ? modeInfo(*mode).number : 0));
}

std::optional<int> parseStoredNumber(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    long long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<int>(value);
}

namespace {

std::string optionKey(int number) { return "o" + std::to_string(number); }
std::string checkKey(int number) { return "c" + std::to_string(number); }

std::optional<bool> parseFlag(const std::string& text)
{
    const auto number = parseStoredNumber(text);
    return number ? std::optional<bool>(*number != 0) : std::nullopt;
}

std::optional<int> parseCheckState(const std::string& text)
{
    const auto number = parseStoredNumber(text);
    return (number && *number >= 0 && *number <= 2) ? number : std::nullopt;
}

std::string flagText(std::optional<bool> flag) { return flag.value_or(false) ? "1" : "0"; }

} // namespace

ModePreset readPreset(const SettingsStore& store, Mode mode)
{
    const std::string section = modeInfo(mode).section;
    ModePreset preset;
    preset.t2 = store.read(section, "t2", "");
    preset.t3 = store.read(section, "t3", "");
    preset.t4 = store.read(section, "t4", "");
    preset.sign = store.read(section, "sign", "");
    preset.v2 = parseStoredNumber(store.read(section, "v2", "1"));
    for (int number : kPresetOptions)
        preset.options[number] = parseFlag(store.read(section, optionKey(number), "0"));
    for (int number : kPresetChecks)
        preset.checks[number] = parseCheckState(store.read(section, checkKey(number), "0"));
    return preset;
}

void writePreset(SettingsStore& store, Mode mode, const ModePreset& preset)
{
    const std::string section = modeInfo(mode).section;
    store.write(section, "t2", preset.t2);
    store.write(section, "t3", preset.t3);
    store.write(section, "t4", preset.t4);
    store.write(section, "sign", preset.sign);
    for (int number : kPresetChecks)
        store.write(section, checkKey(number), std::to_string(preset.checks[number].value_or(0)));
    store.write(section, "v2", std::to_string(preset.v2.value_or(1)));
    for (int number : kPresetOptions)
        store.write(section, optionKey(number), flagText(preset.options[number]));
}

void resetPreset(SettingsStore& store, Mode mode)
{
    const std::string section = modeInfo(mode).section;
    for (int number : {1, 2, 3, 4, 5, 7})
        store.write(section, checkKey(number), "0");
    for (int number : kPresetOptions)
        store.write(section, optionKey(number), "0");
}

void applyPreset(const ModePreset& preset, Mode mode, PresetTarget& target)
{
    target.setText(PresetText::AudioFile, preset.t2);
    target.setText(PresetText::OutputPicture, preset.t3);
    target.setText(PresetText::InputPicture, preset.t4);
    target.setText(PresetText::Signature, preset.sign);
    if (preset.v2)
        target.setThumbnailPosition(*preset.v2);
    for (int number : kPresetOptions)
        if (preset.options[number])
            target.setOption(number, *preset.options[number]);
    for (int number : kPresetChecks)
        if (preset.checks[number])
            target.setCheck(number, *preset.checks[number]);
    if (mode == Mode::CB) {
        target.setOption(1, true);
        target.setCheck(2, 1);
    }
    target.setCbLock(mode == Mode::CB);
}

bool loadsettings(SettingsStore& store, std::optional<Mode> selected, PresetTarget& target)
{
    writeDefaultMode(store, selected);
    if (!selected)
        return false;
    applyPreset(readPreset(store, *selected), *selected, target);
    return true;
}

void modeButtonClicked(SettingsStore& store, Mode clicked, PresetTarget& target)
{
    loadsettings(store, clicked, target);
    if (clicked == Mode::CB) {
        target.setOption(1, true);
        target.setCheck(2, 1);
    }
}

bool saveSelectedMode(SettingsStore& store, std::optional<Mode> selected, const ModePreset& windowValues)
{
    if (!selected)
        return false;
    writePreset(store, *selected, windowValues);
    return true;
}

bool resetSelectedMode(SettingsStore& store, std::optional<Mode> selected, PresetTarget& target)
{
    if (!selected)
        return false;
    resetPreset(store, *selected);
    return loadsettings(store, selected, target);
}

} // namespace tonobild
