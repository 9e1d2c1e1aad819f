#include "settings/preset_controls.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tonobild {

namespace {

// The option groups whose buttons are stored with a preset.
const std::vector<std::vector<int>>& optionGroups()
{
    static const std::vector<std::vector<int>> groups = {
        {1, 2, 3},   // resolution
        {4, 5},      // "NR Method"
        {6, 7},      // "Active Normalising"
        {8, 9},      // "Time Reduction"
        {10, 11},    // "Leader"
        {12, 13, 14}, // "Dynamic Sync"
        {17, 18, 19, 20, 21, 22, 23, 24}, // "LIC Inset"
    };
    return groups;
}

} // namespace

std::string homeFile(const std::string& name)
{
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + name;
}

PresetControls::PresetControls()
{
    texts_ = {defaultAudioFile(), homeFile("TONOBILD.BMP"), homeFile("SETUP.BMP"), ""};
    for (int number : {1, 5, 6, 8, 10, 14, 24})
        options_.at(number) = true;
    for (int number : {1, 3, 4, 5})
        checks_.at(number) = 1;
}

void PresetControls::setText(PresetText box, const std::string& text)
{
    const bool audioFileEmptied = box == PresetText::AudioFile && text.empty();
    texts_[static_cast<std::size_t>(box)] = audioFileEmptied ? defaultAudioFile() : text;
}

void PresetControls::setOption(int number, bool selected)
{
    if (options_.at(number) == selected)
        return;
    if (selected)
        deselectGroupOf(number);
    options_.at(number) = selected;
    if (selected)
        optionChosen(number);
}

void PresetControls::setCheck(int number, int state)
{
    checks_.at(number) = state;
}

ModePreset PresetControls::toPreset() const
{
    ModePreset preset;
    preset.t2 = text(PresetText::AudioFile);
    preset.t3 = text(PresetText::OutputPicture);
    preset.t4 = text(PresetText::InputPicture);
    preset.sign = text(PresetText::Signature);
    preset.v2 = thumbnail_;
    for (int number : kPresetOptions)
        preset.options[number] = options_.at(number);
    for (int number : kPresetChecks)
        preset.checks[number] = checks_.at(number);
    return preset;
}

void PresetControls::deselectGroupOf(int number)
{
    for (const auto& group : optionGroups())
        if (std::find(group.begin(), group.end(), number) != group.end())
            for (int member : group)
                options_.at(member) = false;
}

void PresetControls::optionChosen(int number)
{
    if (number == 4 || number == 5 || number == 8 || number == 9)
        nrMethodChosen();
}

// Option4_Click unticks "HSync", Option5_Click ticks it; the "Time Reduction"
// options run whichever of the two is selected.
void PresetControls::nrMethodChosen()
{
    if (options_.at(4))
        checks_.at(1) = 0;
    if (options_.at(5))
        checks_.at(1) = 1;
}

} // namespace tonobild
