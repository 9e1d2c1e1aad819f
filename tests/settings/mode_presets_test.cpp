// Mode presets: what the mode buttons, "Save" (Command13) and "Reset"
// (Command15) read and write, with PresetControls standing in for the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>

#include "settings/memory_settings_store.h"
#include "settings/preset_controls.h"

namespace tonobild {
namespace {

std::vector<std::string> keysOf(const std::vector<SettingsWrite>& writes)
{
    std::vector<std::string> keys;
    std::ranges::transform(writes, std::back_inserter(keys), [](const auto& w) { return w.section + "/" + w.key + "=" + w.value; });
    return keys;
}

// The options selected and the checks ticked (in any state but 0).
std::pair<std::vector<int>, std::vector<int>> setIn(const PresetControls& window)
{
    std::pair<std::vector<int>, std::vector<int>> set;
    std::ranges::copy_if(kPresetOptions, std::back_inserter(set.first), [&](int o) { return window.selected(o); });
    std::ranges::copy_if(kPresetChecks, std::back_inserter(set.second), [&](int c) { return window.checkState(c) != 0; });
    return set;
}

// A window whose 36 values all differ from the start values and from an empty preset.
PresetControls distinctiveWindow()
{
    PresetControls window;
    for (const auto& [text, value] : {std::pair{PresetText::AudioFile, "D:\\HAM.WAV"}, {PresetText::OutputPicture, "D:\\OUT.BMP"},
                                      {PresetText::InputPicture, "D:\\IN.BMP"}, {PresetText::Signature, " Acall"}})
        window.setText(text, value);
    window.setThumbnailPosition(3);
    for (int option : {2, 4, 7, 9, 11, 12, 20})
        window.setOption(option, true);
    for (const auto& [check, state] : std::vector<std::pair<int, int>>{{1, 2}, {3, 0}, {2, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}})
        window.setCheck(check, state);
    return window;
}

TEST(Loadsettings, FirstStartAppliesAnEmptyFmPresetCorruptValuesAreSkippedAndStoredNumbersAtThe16BitLimitsAndSigns)
{
    MemorySettingsStore store;
    PresetControls window;
    ASSERT_TRUE(loadsettings(store, readDefaultMode(store), window));
    EXPECT_EQ(keysOf(store.writes()), std::vector<std::string>{"Settings/Default Mode=15"});
    EXPECT_EQ(std::tuple(window.text(PresetText::AudioFile), setIn(window), window.cbLocked()),
              std::tuple(defaultAudioFile(), std::pair<std::vector<int>, std::vector<int>>{}, false));

    // Later starts: only the five mode button numbers select a mode.
    for (const auto& [text, expected] : std::vector<std::pair<std::string, std::optional<Mode>>>{
             {"16", Mode::CB}, {" 25 ", Mode::HAM}, {"26", Mode::TAPE}, {"27", Mode::HIRES}, {"0", {}},
             {"14", {}},       {"CB", {}},          {"26.0", {}},        {"", {}},            {"99999", {}}}) {
        store.write("Settings", "Default Mode", text);
        EXPECT_EQ(readDefaultMode(store), expected) << '"' << text << '"';
    }

    // Corrupt values are skipped and the other keys still apply.
    writePreset(store, Mode::TAPE, distinctiveWindow().toPreset());
    // Not a number, outside 16 bits, not an integer.
    for (const auto& [key, value] : {std::pair{"c1", "abc"}, {"o2", "40000"}, {"v2", "1e3"}})
        store.write("TAPE", key, value);
    PresetControls tape;
    ASSERT_TRUE(loadsettings(store, Mode::TAPE, tape));
    EXPECT_TRUE(tape.checkState(1) == 0 && !tape.selected(2) && tape.thumbnailPosition() == 1 && tape.selected(20));
    EXPECT_EQ(tape.text(PresetText::AudioFile), "D:\\HAM.WAV");

    // A stored number becomes a 16-bit integer; a flag is true when its number is
    // not 0; a check state is 0, 1 or 2. Anything else stays unset and is skipped.
    // {} is unset.
    const struct { const char* text; std::optional<int> number; std::optional<bool> flag; std::optional<int> check; } numbers[] = {
        {"-32768", -32768, true, {}}, {"-32769", {}, {}, {}}, {"32767", 32767, true, {}}, {"32768", {}, {}, {}},
        {"+5", 5, true, {}},          {"-1", -1, true, {}},   {"0", 0, false, 0},         {"2", 2, true, 2},
        {"3", 3, true, {}},           {" 1 ", 1, true, 1},    {"+", {}, {}, {}},          {"--1", {}, {}, {}}};
    for (const auto& c : numbers) {
        for (const char* key : {"v2", "o2", "c1"})
            store.write("HAM", key, c.text);
        const ModePreset preset = readPreset(store, Mode::HAM);
        EXPECT_EQ(std::tuple(preset.v2, preset.options[2], preset.checks[1]), std::tuple(c.number, c.flag, c.check))
            << '"' << c.text << '"';
    }
}

// The mode buttons are looked at in the order 15, 16, 25, 26, 27 and the last selected one wins.
TEST(SelectedMode, TheLastSelectedButtonInTheFixedOrderWinsSaveWritesEveryKeyInOrderAndResetWritesZeros)
{
    // The buttons selected, 15 the highest bit and 27 the lowest.
    for (const auto& [on, mode] : std::vector<std::pair<int, std::optional<Mode>>>{
             {0b00000, std::nullopt}, {0b10000, Mode::FM},  {0b01000, Mode::CB},  {0b00001, Mode::HIRES},
             {0b10001, Mode::HIRES},  {0b11100, Mode::HAM}, {0b00010, Mode::TAPE}})
        EXPECT_EQ(selectedMode(on & 16, on & 8, on & 4, on & 2, on & 1), mode) << std::bitset<5>(on);
    // --mode names a mode by its section, in capitals.
    EXPECT_EQ(std::tuple(modeFromSection("TAPE"), modeFromSection("FM"), modeFromSection("tape")),
              std::tuple(std::optional(Mode::TAPE), std::optional(Mode::FM), std::optional<Mode>()));
    // Save and Reset with no mode selected store nothing.
    MemorySettingsStore store;
    PresetControls window = distinctiveWindow();
    EXPECT_TRUE(!saveSelectedMode(store, std::nullopt, window.toPreset()) &&
                !resetSelectedMode(store, std::nullopt, window) && store.writes().empty());

    // Save writes every key in order (switching modes and back bringing all 36 values again is
    // Form1Test.ControlsFollowEachOtherAndHaveNamesAndModePresetsComeBackOrSayWhyNot).
    ASSERT_TRUE(saveSelectedMode(store, Mode::HAM, window.toPreset()));
    std::vector<std::string> expected = {"HAM/t2=D:\\HAM.WAV", "HAM/t3=D:\\OUT.BMP", "HAM/t4=D:\\IN.BMP",
                                         "HAM/sign= Acall"};
    for (const char* key : {"c1=2", "c2=1", "c3=0", "c4=1", "c5=1", "c7=1", "c8=1", "c9=1", "c10=1", "v2=3", "o1=0",
                            "o2=1", "o3=0", "o4=1", "o5=0", "o6=0", "o7=1", "o8=0", "o9=1", "o10=0", "o11=1", "o12=1",
                            "o13=0", "o14=0", "o17=0", "o18=0", "o19=0", "o20=1", "o21=0", "o22=0", "o23=0", "o24=0"})
        expected.push_back(std::string("HAM/") + key);
    EXPECT_EQ(keysOf(store.writes()), expected);

    // Reset writes the twenty-eight zeros, then the mode, and keeps the rest.
    saveSelectedMode(store, Mode::FM, window.toPreset());
    store.clearWriteLog();
    ASSERT_TRUE(resetSelectedMode(store, Mode::FM, window));
    std::vector<std::string> zeros;
    for (const char* key : {"c1", "c2", "c3", "c4", "c5", "c7", "o1", "o2", "o3", "o4", "o5", "o6", "o7", "o8", "o9", "o10",
                            "o11", "o12", "o13", "o14", "o17", "o18", "o19", "o20", "o21", "o22", "o23", "o24"})
        zeros.push_back(std::string("FM/") + key + "=0");
    zeros.push_back("Settings/Default Mode=15");
    EXPECT_EQ(keysOf(store.writes()), zeros);
    EXPECT_EQ((std::vector{store.read("FM", "c8", ""), store.read("FM", "c9", ""), store.read("FM", "c10", ""),
                           store.read("FM", "t2", "")}), (std::vector<std::string>{"1", "1", "1", "D:\\HAM.WAV"}));
}

// The stand-in starts as the window does and keeps one button of each option
// group selected, as the window's frames do.
TEST(PresetControls, StartValuesOptionGroupsAndTheNrMethodsHSync)
{
    PresetControls window;
    EXPECT_EQ(setIn(window), std::pair(std::vector<int>{1, 5, 6, 8, 10, 14, 24}, std::vector<int>{1, 3, 4, 5}));

    for (const auto& group : std::vector<std::vector<int>>{{1, 2, 3}, {4, 5}, {6, 7}, {8, 9}, {10, 11}, {12, 13, 14},
                                                           {17, 18, 19, 20, 21, 22, 23, 24}})
        for (int chosen : group) {
            PresetControls clicked;
            clicked.setOption(chosen, true);
            for (int o : kPresetOptions) // in the group only the one chosen, the others as at the start
                EXPECT_EQ(clicked.selected(o), std::ranges::count(group, o) ? o == chosen : window.selected(o))
                    << "Option" << o << " after Option" << chosen;
        }

    // "None" (Option4) unticks "HSync", "Active Norm" (Option5) ticks it; a "Time
    // Reduction" button (Option8, Option9) does what the selected one of the two does.
    // In turn: "HSync" set to (-1: left), the button clicked, "HSync" after it.
    PresetControls nr;
    for (const auto& [before, option, after] : {std::tuple{0, 9, 1}, {-1, 4, 0}, {1, 8, 0}, {-1, 5, 1}}) {
        if (before >= 0)
            nr.setCheck(1, before);
        nr.setOption(option, true);
        EXPECT_EQ(nr.checkState(1), after) << "Option" << option;
    }
}

TEST(CbInterlock, CbSelectsOption1AndTicksHalfXLockedEvenAfterResetUntilAnotherMode)
{
    MemorySettingsStore store;
    store.write("FM", "o2", "1");
    PresetControls window = distinctiveWindow();
    saveSelectedMode(store, Mode::CB, window.toPreset());
    modeButtonClicked(store, Mode::CB, window);
    EXPECT_TRUE(window.cbLocked() && window.selected(1) && window.checkState(2) == 1 && window.checkState(3) == 0);
    ASSERT_TRUE(resetSelectedMode(store, Mode::CB, window) && store.read("CB", "o1", "") == "0");
    EXPECT_TRUE(window.cbLocked() && window.selected(1) && window.checkState(2) == 1);
    modeButtonClicked(store, Mode::FM, window);
    EXPECT_TRUE(!window.cbLocked() && window.selected(2) && !window.selected(1) && window.checkState(2) == 0);
}

} // namespace
} // namespace tonobild
