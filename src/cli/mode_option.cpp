#include "cli/mode_option.h"

#include "settings/qsettings_store.h"

namespace tonobild::cli {

std::optional<Mode> parseModeName(const QString& name)
{
    return modeFromSection(name.toUpper().toStdString());
}

PresetControls controlsForMode(const SettingsStore& store, Mode mode)
{
    PresetControls controls;
    controls.setOption(modeInfo(mode).number, true);
    applyPreset(readPreset(store, mode), mode, controls);
    if (mode == Mode::CB) { // Option16_Click after loadsettings
        controls.setOption(1, true);
        controls.setCheck(2, 1);
    }
    return controls;
}

PresetControls userControlsForMode(Mode mode)
{
    const QSettingsStore store;
    return controlsForMode(store, mode);
}

} // namespace tonobild::cli
