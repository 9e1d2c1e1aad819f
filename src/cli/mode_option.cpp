#include "cli/mode_option.h"

#include "settings/option_choices.h"

#include <utility>

#include "settings/qsettings_store.h"

namespace tonobild::cli {

std::optional<Mode> parseModeName(const QString& name)
{
    return modeFromSection(name.toUpper().toStdString());
}

PresetControls controlsForMode(const SettingsStore& store, Mode mode)
{
    PresetControls controls;
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

namespace {

std::optional<QString> resolutionOf(const PresetControls& controls)
{
    const auto chosen = chosenResolution([&](int n) { return controls.selected(n); });
    if (!chosen)
        return std::nullopt;
    const ResolutionSize size = resolutionSize(*chosen);
    return QStringLiteral("%1x%2").arg(size.width).arg(size.height);
}

std::optional<int> syncOffsetOf(const PresetControls& controls)
{
    return chosenSyncOffset([&](int n) { return controls.selected(n); });
}

std::optional<int> licInsetOf(const PresetControls& controls)
{
    return chosenLicInset([&](int n) { return controls.selected(n); });
}

std::optional<int> levelOf(const PresetControls& controls)
{
    return chosenNormalisingLevel([&](int n) { return controls.selected(n); });
}

} // namespace

ModeEncodeValues encodeValues(const PresetControls& controls, Mode mode)
{
    ModeEncodeValues values;
    values.resolution = resolutionOf(controls);
    values.halfX = controls.ticked(2);
    values.compand = controls.ticked(9);
    values.mono = controls.selected(9);
    values.slow = controls.ticked(10);
    values.cb = mode == Mode::CB;
    return values;
}

ModeDecodeValues decodeValues(const PresetControls& controls)
{
    ModeDecodeValues values;
    values.resolution = resolutionOf(controls);
    values.halfX = controls.ticked(2);
    values.rbHalfX = controls.ticked(7);
    values.compand = controls.ticked(9);
    values.hsync = controls.ticked(1);
    values.useLic = controls.ticked(3);
    values.licLock = controls.ticked(5);
    values.idler = controls.ticked(8);
    values.dynamicSync = controls.ticked(4);
    values.syncOffset = syncOffsetOf(controls);
    values.licInset = licInsetOf(controls);
    values.level = levelOf(controls);
    return values;
}

} // namespace tonobild::cli
