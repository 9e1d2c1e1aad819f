// --mode FM|CB|HAM|TAPE|HIRES of the encode and decode commands: the values the
// window would hold after its mode button was clicked, taken from the same
// settings store the window uses. Explicit command-line options override them.
// Reading a preset here never writes to the store ("Default Mode" stays as it is).
#pragma once

#include <QString>
#include <optional>

#include "settings/mode_presets.h"
#include "settings/preset_controls.h"

namespace tonobild::cli {

// "FM", "CB", "HAM", "TAPE" or "HIRES", in any letter case.
std::optional<Mode> parseModeName(const QString& name);

// The window's start values with the mode's preset applied as a click on its mode button applies it.
PresetControls controlsForMode(const SettingsStore& store, Mode mode);
// The same from the user's settings file.
PresetControls userControlsForMode(Mode mode);

struct ModeEncodeValues {
    std::optional<QString> resolution; // "160x120", "320x240", "640x480"; none when no option is selected
    bool halfX = false;
    bool compand = false;
    bool mono = false;
    bool slow = false;
    bool cb = false; // the CB mode: with "Slow" the leader lasts one second
};

struct ModeDecodeValues {
    std::optional<QString> resolution;
    bool halfX = false;
    bool rbHalfX = false;
    bool compand = false;
    bool hsync = false;
    bool useLic = false;  // ticked; it acts only while "HSync" is ticked too
    bool licLock = false;
    bool idler = false;
    bool third = false;   // "Third" is not part of a preset: always the window's start value
    bool dynamicSync = false;
    std::optional<int> syncOffset; // 8, 16 or 32; none when no "Dynamic Sync" option is selected
    std::optional<int> licInset;   // 1, 4 ("4-lock"), 5 .. 10; none when no option is selected
    std::optional<int> level;      // active normalising level 2 or 3; none when neither is selected
};

ModeEncodeValues encodeValues(const PresetControls& controls, Mode mode);
ModeDecodeValues decodeValues(const PresetControls& controls);

} // namespace tonobild::cli
