// The five mode presets (FM, CB, HAM, TAPE, HIRES): the stored values of 36
// main-window controls under one section each, the mode selected last, and the
// store side of loadsettings, Command13_Click (save) and Command15_Click (reset).
//
// The window hands its controls in through PresetTarget; every value goes
// through the control so that the control's own reaction runs.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tonobild {

enum class Mode { FM, CB, HAM, TAPE, HIRES };

struct ModeInfo {
    Mode mode;
    const char* section; // "FM", "CB", "HAM", "TAPE", "HIRES"
    int number;          // the mode button's number, stored as "Default Mode"
};

// In the order of the mode buttons, top to bottom: Option15, Option16, Option25, Option26, Option27.
extern const std::array<ModeInfo, 5> kModes;

const ModeInfo& modeInfo(Mode mode);
std::optional<Mode> modeFromNumber(int number);
std::optional<Mode> modeFromSection(const std::string& section);

// The mode buttons looked at in button order; with several selected the last one wins.
std::optional<Mode> selectedMode(bool option15, bool option16, bool option25, bool option26, bool option27);

inline const std::string kSettingsSection = "Settings";
inline const std::string kDefaultModeKey = "Default Mode";
inline const std::string kDirectoriesSection = "Directories";
inline const std::string kTestPatternKey = "Test Pattern";
inline const std::string kDefaultInPicKey = "DefaultInPIC";
inline const std::string kDefaultInWavKey = "DefaultInWAV";
inline const std::string kDefaultOutPicKey = "DefaultOutPIC";

// Text and title of the message box shown when save, reset or load find no mode selected.
inline const std::string kNoModeSelected = "No mode selected";

// "Default Mode" as start-up reads it (default 15). A number that is no mode
// number, or a text that is not a whole number, selects no mode.
std::optional<Mode> readDefaultMode(const SettingsStore& store);
// The mode number as decimal text, "0" for no mode.
void writeDefaultMode(SettingsStore& store, std::optional<Mode> mode);

// A whole decimal number in -32768..32767, blanks around it allowed; anything else is no number.
std::optional<int> parseStoredNumber(const std::string& text);

// The option buttons and check boxes that a preset stores, by control number, in rising order.
inline constexpr std::array<int, 22> kPresetOptions = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                                       12, 13, 14, 17, 18, 19, 20, 21, 22, 23, 24};
inline constexpr std::array<int, 9> kPresetChecks = {1, 2, 3, 4, 5, 7, 8, 9, 10};

// One mode preset in memory. Numbers are indexed by the control's own number
// (Option17 is options[17]); Option15, Option16 and Check6 have no key and stay unset.
// An unset value read from the store was missing a valid number: the window leaves
// that control alone. A check state outside 0..2 is unset too.
struct ModePreset {
    std::string t2;   // Text2, audio file name
    std::string t3;   // Text3, output picture file name
    std::string t4;   // Text4, input picture file name
    std::string sign; // caption of the hidden signature label
    std::optional<int> v2 = 1;                    // VScroll2, thumbnail position
    std::array<std::optional<bool>, 25> options{}; // selected or not
    std::array<std::optional<int>, 11> checks{};   // check state 0 clear, 1 ticked, 2 greyed

    bool operator==(const ModePreset&) const = default;
};

// The 36 keys of a mode section, each with its default; malformed numbers stay unset.
ModePreset readPreset(const SettingsStore& store, Mode mode);

// Writes the preset in the save order: t2, t3, t4, sign, c1..c5, c7..c10, v2,
// o1..o14, o17..o24. An unset value is written as its key's default.
void writePreset(SettingsStore& store, Mode mode, const ModePreset& preset);

// Writes "0" to c1..c5, c7, then o1..o14 and o17..o24 (28 writes, in this order).
void resetPreset(SettingsStore& store, Mode mode);

// The text boxes and the label that a preset fills.
enum class PresetText { AudioFile /* Text2 */, OutputPicture /* Text3 */, InputPicture /* Text4 */, Signature };

// The window's side of applying a preset. Each call sets the control as a user
// would, so that its reaction runs.
class PresetTarget {
public:
    virtual ~PresetTarget() = default;
    virtual void setText(PresetText box, const std::string& text) = 0;
    virtual void setThumbnailPosition(int value) = 0; // VScroll2; clamp or ignore outside its range
    virtual void setOption(int number, bool selected) = 0; // false may leave the group with no selection
    virtual void setCheck(int number, int state) = 0;
    // True disables Option1 and Check2 (CB mode), false enables them again.
    virtual void setCbLock(bool locked) = 0;
};

// Hands the preset to the window in the apply order: t2, t3, t4, sign, v2,
// o1..o14, o17..o24, c1..c5, c7..c10, then the CB interlock (in CB: select
// Option1, tick Check2 and lock both; otherwise unlock both). Unset values are skipped.
void applyPreset(const ModePreset& preset, Mode mode, PresetTarget& target);

// loadsettings: writes "Default Mode" first (also "0" when no mode is selected),
// then applies the selected mode's preset. Answers false when no mode is
// selected; the window then shows kNoModeSelected.
bool loadsettings(SettingsStore& store, std::optional<Mode> selected, PresetTarget& target);

// A click on a mode button: loadsettings, then for CB (Option16) also select
// Option1 and tick Check2.
void modeButtonClicked(SettingsStore& store, Mode clicked, PresetTarget& target);

// The store side of Command13_Click. The window reads all its values into the
// preset first, then calls this. Answers false when no mode is selected.
bool saveSelectedMode(SettingsStore& store, std::optional<Mode> selected, const ModePreset& windowValues);

// The store side of Command15_Click: the 28 writes, then loadsettings.
// Answers false when no mode is selected (nothing is written then).
bool resetSelectedMode(SettingsStore& store, std::optional<Mode> selected, PresetTarget& target);

} // namespace tonobild
