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

// The window's start values with the mode's preset applied as a click on its
// mode button applies it, the mode button selected. The fields of the encoder
// and decoder follow from them as from the window's (family/own_controls.h).
PresetControls controlsForMode(const SettingsStore& store, Mode mode);
// The same from the user's settings file.
PresetControls userControlsForMode(Mode mode);

} // namespace tonobild::cli
