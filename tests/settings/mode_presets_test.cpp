#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/memory_settings_store.h"
#include "settings/mode_presets.h"
#include "settings/preset_controls.h"

namespace tonobild {
namespace {

// Logs every call in order, e.g. "text 0=a", "scroll 3", "o1=1", "c2=0", "lock 0".
class RecordingTarget final : public PresetTarget {
public:
    void setText(PresetText box, const std::string& text) override
    {
        calls.push_back("text " + std::to_string(static_cast<int>(box)) + "=" + text);
    }
    void setThumbnailPosition(int value) override { calls.push_back("scroll " + std::to_string(value)); }
    void setOption(int number, bool selected) override
    {
        calls.push_back("o" + std::to_string(number) + "=" + (selected ? "1" : "0"));
    }
    void setCheck(int number, int state) override
    {
        calls.push_back("c" + std::to_string(number) + "=" + std::to_string(state));
    }
    void setCbLock(bool locked) override { calls.push_back(locked ? "lock 1" : "lock 0"); }
    std::vector<std::string> calls;
};

std::vector<std::string> keysOf(const std::vector<SettingsWrite>& writes)
{
    std::vector<std::string> keys;
    for (const auto& write : writes)
        keys.push_back(write.section + "/" + write.key + "=" + write.value);
    return keys;
}

// A window whose 36 values all differ from the start values and from an empty preset.
PresetControls distinctiveWindow()
{
    PresetControls window;
    window.setText(PresetText::AudioFile, "D:\\HAM.WAV");
    window.setText(PresetText::OutputPicture, "D:\\OUT.BMP");
    window.setText(PresetText::InputPicture, "D:\\IN.BMP");
    window.setText(PresetText::Signature, " Acall");
    window.setThumbnailPosition(3);
    for (int option : {2, 4, 7, 9, 11, 12, 20})
        window.setOption(option, true);
    window.setCheck(1, 2);
    window.setCheck(3, 0);
    for (int check : {2, 7, 8, 9, 10})
        window.setCheck(check, 1);
    return window;
}

TEST(ModeSelection, LastSelectedButtonInButtonOrderWinsAndNumbersMapBack)
{
    EXPECT_EQ(selectedMode(false, false, false, false, false), std::nullopt);
    EXPECT_EQ(selectedMode(true, false, false, false, false), Mode::FM);
    EXPECT_EQ(selectedMode(true, true, false, false, false), Mode::CB);
    EXPECT_EQ(selectedMode(false, true, false, true, false), Mode::TAPE);
    EXPECT_EQ(selectedMode(true, false, true, false, true), Mode::HIRES);
    EXPECT_EQ(modeFromNumber(25), Mode::HAM);
    EXPECT_EQ(modeFromNumber(0), std::nullopt);
    EXPECT_EQ(modeFromNumber(17), std::nullopt);
    EXPECT_EQ(modeFromSection("HIRES"), Mode::HIRES);
    EXPECT_EQ(modeFromSection("Settings"), std::nullopt);
}

TEST(DefaultMode, MissingIsFmAndNonNumbersOrOtherNumbersSelectNothing)
{
    MemorySettingsStore store;
    EXPECT_EQ(readDefaultMode(store), Mode::FM);
    const std::vector<std::pair<std::string, std::optional<Mode>>> cases = {
        {"16", Mode::CB}, {" 25 ", Mode::HAM}, {"0", std::nullopt}, {"14", std::nullopt},
        {"CB", std::nullopt}, {"26.0", std::nullopt}, {"", std::nullopt}, {"99999", std::nullopt}};
    for (const auto& [text, expected] : cases) {
        store.write("Settings", "Default Mode", text);
        EXPECT_EQ(readDefaultMode(store), expected) << '"' << text << '"';
    }
}

TEST(StoredNumber, AcceptsSixteenBitWholeNumbersOnly)
{
    EXPECT_EQ(parseStoredNumber("12"), 12);
    EXPECT_EQ(parseStoredNumber("-32768"), -32768);
    EXPECT_EQ(parseStoredNumber("+32767"), 32767);
    for (const char* text : {"32768", "-32769", "1.5", "", "  ", "x1", "1x", "- 1", "0x10"})
        EXPECT_EQ(parseStoredNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(Loadsettings, FirstStartWithEmptyStoreAppliesEmptyFmPreset)
{
    MemorySettingsStore store;
    PresetControls window;
    ASSERT_TRUE(loadsettings(store, readDefaultMode(store), window));

    EXPECT_EQ(store.writes().front(), (SettingsWrite{"Settings", "Default Mode", "15"}));
    EXPECT_EQ(store.writes().size(), 1u);
    EXPECT_EQ(window.text(PresetText::AudioFile), defaultAudioFile());
    EXPECT_EQ(window.text(PresetText::OutputPicture), "");
    EXPECT_EQ(window.text(PresetText::InputPicture), "");
    EXPECT_EQ(window.text(PresetText::Signature), "");
    EXPECT_EQ(window.thumbnailPosition(), 1);
    for (int option : kPresetOptions)
        EXPECT_FALSE(window.selected(option)) << "Option" << option;
    for (int check : kPresetChecks)
        EXPECT_EQ(window.checkState(check), 0) << "Check" << check;
    EXPECT_FALSE(window.cbLocked());
}

TEST(Loadsettings, AppliesInOrderThenInterlocks)
{
    MemorySettingsStore store;
    PresetControls saved = distinctiveWindow();
    writePreset(store, Mode::CB, saved.toPreset());
    RecordingTarget target;
    ASSERT_TRUE(loadsettings(store, Mode::CB, target));

    const std::vector<std::string> expected = {
        "text 0=D:\\HAM.WAV", "text 1=D:\\OUT.BMP", "text 2=D:\\IN.BMP", "text 3= Acall", "scroll 3",
        "o1=0", "o2=1", "o3=0", "o4=1", "o5=0", "o6=0", "o7=1", "o8=0", "o9=1", "o10=0", "o11=1",
        "o12=1", "o13=0", "o14=0", "o17=0", "o18=0", "o19=0", "o20=1", "o21=0", "o22=0", "o23=0", "o24=0",
        "c1=2", "c2=1", "c3=0", "c4=1", "c5=1", "c7=1", "c8=1", "c9=1", "c10=1",
        "o1=1", "c2=1", "lock 1"};
    EXPECT_EQ(target.calls, expected);
    EXPECT_EQ(store.writes().back(), (SettingsWrite{"Settings", "Default Mode", "16"}));

    target.calls.clear();
    ASSERT_TRUE(loadsettings(store, Mode::HIRES, target));
    EXPECT_EQ(target.calls.back(), "lock 0");
    EXPECT_EQ(std::count(target.calls.begin(), target.calls.end(), "o1=1"), 0);
}

TEST(Loadsettings, NoModeSelectedStoresZeroAndAppliesNothing)
{
    MemorySettingsStore store;
    RecordingTarget target;
    EXPECT_FALSE(loadsettings(store, std::nullopt, target));
    EXPECT_EQ(keysOf(store.writes()), std::vector<std::string>{"Settings/Default Mode=0"});
    EXPECT_TRUE(target.calls.empty());

    store.clearWriteLog();
    EXPECT_FALSE(saveSelectedMode(store, std::nullopt, distinctiveWindow().toPreset()));
    EXPECT_FALSE(resetSelectedMode(store, std::nullopt, target));
    EXPECT_TRUE(store.writes().empty());
    EXPECT_TRUE(target.calls.empty());
}

TEST(Loadsettings, CorruptValuesAreSkippedAndTheOtherKeysStillApply)
{
    MemorySettingsStore store;
    writePreset(store, Mode::TAPE, distinctiveWindow().toPreset());
    store.write("TAPE", "c1", "abc");    // not a number
    store.write("TAPE", "c8", "3");      // no check state
    store.write("TAPE", "o2", "40000");  // outside 16 bits
    store.write("TAPE", "v2", "1e3");
    store.write("TAPE", "o12", "-5");    // a number not 0: selected
    const ModePreset preset = readPreset(store, Mode::TAPE);
    EXPECT_EQ(preset.checks[1], std::nullopt);
    EXPECT_EQ(preset.checks[8], std::nullopt);
    EXPECT_EQ(preset.options[2], std::nullopt);
    EXPECT_EQ(preset.v2, std::nullopt);
    EXPECT_EQ(preset.options[12], true);

    RecordingTarget target;
    ASSERT_TRUE(loadsettings(store, Mode::TAPE, target));
    for (const char* skipped : {"c1=", "c8=", "o2=", "scroll"})
        for (const auto& call : target.calls)
            EXPECT_NE(call.rfind(skipped, 0), 0u) << call;
    EXPECT_EQ(target.calls.size(), 4u + 21u + 7u + 1u);
    EXPECT_EQ(target.calls.back(), "lock 0");
}

TEST(Command13, SaveWritesEveryKeyInSaveOrder)
{
    MemorySettingsStore store;
    ASSERT_TRUE(saveSelectedMode(store, Mode::HAM, distinctiveWindow().toPreset()));
    const std::vector<std::string> expected = {
        "HAM/t2=D:\\HAM.WAV", "HAM/t3=D:\\OUT.BMP", "HAM/t4=D:\\IN.BMP", "HAM/sign= Acall",
        "HAM/c1=2", "HAM/c2=1", "HAM/c3=0", "HAM/c4=1", "HAM/c5=1", "HAM/c7=1", "HAM/c8=1", "HAM/c9=1",
        "HAM/c10=1", "HAM/v2=3",
        "HAM/o1=0", "HAM/o2=1", "HAM/o3=0", "HAM/o4=1", "HAM/o5=0", "HAM/o6=0", "HAM/o7=1", "HAM/o8=0",
        "HAM/o9=1", "HAM/o10=0", "HAM/o11=1", "HAM/o12=1", "HAM/o13=0", "HAM/o14=0", "HAM/o17=0",
        "HAM/o18=0", "HAM/o19=0", "HAM/o20=1", "HAM/o21=0", "HAM/o22=0", "HAM/o23=0", "HAM/o24=0"};
    EXPECT_EQ(keysOf(store.writes()), expected);
}

TEST(Command13, SaveInHamSwitchToTapeAndBackRestoresAll36Values)
{
    MemorySettingsStore store;
    PresetControls window = distinctiveWindow();
    const ModePreset saved = window.toPreset();
    ASSERT_TRUE(saveSelectedMode(store, Mode::HAM, saved));

    modeButtonClicked(store, Mode::TAPE, window);
    EXPECT_NE(window.toPreset(), saved);
    EXPECT_EQ(store.read("Settings", "Default Mode", ""), "26");
    modeButtonClicked(store, Mode::HAM, window);
    EXPECT_EQ(window.toPreset(), saved);
    EXPECT_EQ(store.read("Settings", "Default Mode", ""), "25");
}

TEST(Command15, ResetInFmWritesTheTwentyEightZerosAndKeepsTheRest)
{
    MemorySettingsStore store;
    PresetControls window = distinctiveWindow();
    saveSelectedMode(store, Mode::FM, window.toPreset());
    store.clearWriteLog();
    ASSERT_TRUE(resetSelectedMode(store, Mode::FM, window));

    std::vector<std::string> expected;
    for (const char* key : {"c1", "c2", "c3", "c4", "c5", "c7"})
        expected.push_back(std::string("FM/") + key + "=0");
    for (int option : kPresetOptions)
        expected.push_back("FM/o" + std::to_string(option) + "=0");
    expected.push_back("Settings/Default Mode=15");
    EXPECT_EQ(keysOf(store.writes()), expected);
    EXPECT_EQ(expected.size(), 29u);

    EXPECT_EQ(store.read("FM", "t2", ""), "D:\\HAM.WAV");
    EXPECT_EQ(store.read("FM", "sign", ""), " Acall");
    EXPECT_EQ(store.read("FM", "v2", ""), "3");
    for (const char* key : {"c8", "c9", "c10"})
        EXPECT_EQ(store.read("FM", key, ""), "1") << key;
    for (int option : kPresetOptions)
        EXPECT_FALSE(window.selected(option)) << "Option" << option;
    EXPECT_EQ(window.checkState(1), 0);
    EXPECT_EQ(window.checkState(10), 1);
}

TEST(Command15, ResetOfNeverSavedModeLeavesItsOtherKeysAbsent)
{
    MemorySettingsStore store;
    PresetControls window;
    ASSERT_TRUE(resetSelectedMode(store, Mode::HIRES, window));
    for (const char* key : {"t2", "t3", "t4", "sign", "v2", "c8", "c9", "c10"})
        EXPECT_FALSE(store.contains("HIRES", key)) << key;
    EXPECT_TRUE(store.contains("HIRES", "o24"));
}

TEST(Command15, ResetInCbStillSelectsOption1AndTicksHalfXLocked)
{
    MemorySettingsStore store;
    PresetControls window = distinctiveWindow();
    saveSelectedMode(store, Mode::CB, window.toPreset());
    ASSERT_TRUE(resetSelectedMode(store, Mode::CB, window));
    EXPECT_EQ(store.read("CB", "o1", ""), "0");
    EXPECT_EQ(store.read("CB", "c2", ""), "0");
    EXPECT_TRUE(window.selected(1));
    EXPECT_EQ(window.checkState(2), 1);
    EXPECT_TRUE(window.cbLocked());
}

TEST(ModeButtons, CbThenFmWithOption2UnlocksAndSelectsOption2)
{
    MemorySettingsStore store;
    store.write("FM", "o2", "1");
    PresetControls window;
    modeButtonClicked(store, Mode::CB, window);
    EXPECT_TRUE(window.cbLocked());
    EXPECT_TRUE(window.selected(1));
    modeButtonClicked(store, Mode::FM, window);
    EXPECT_FALSE(window.cbLocked());
    EXPECT_TRUE(window.selected(2));
    EXPECT_FALSE(window.selected(1));
    EXPECT_EQ(window.checkState(2), 0);
}

TEST(ModeButtons, Option16TicksHalfXAgainAfterTheInterlock)
{
    MemorySettingsStore store;
    RecordingTarget target;
    modeButtonClicked(store, Mode::CB, target);
    const std::vector<std::string> tail(target.calls.end() - 5, target.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"o1=1", "c2=1", "lock 1", "o1=1", "c2=1"}));
}

TEST(WriteFailures, AreReportedOnce)
{
    MemorySettingsStore store;
    store.failWrites("disk full");
    saveSelectedMode(store, Mode::FM, PresetControls().toPreset());
    EXPECT_EQ(store.takeWriteProblem(), "memory: disk full");
    writeDefaultMode(store, Mode::CB);
    EXPECT_EQ(store.takeWriteProblem(), "");
    EXPECT_FALSE(store.contains("FM", "t2"));
}

} // namespace
} // namespace tonobild
