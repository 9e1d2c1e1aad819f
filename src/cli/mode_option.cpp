#include "cli/mode_option.h"

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

// The first selected of Option1, Option3, Option2, as Encode and Decode test them.
std::optional<QString> resolutionOf(const PresetControls& controls)
{
    if (controls.selected(1))
        return QStringLiteral("160x120");
    if (controls.selected(3))
        return QStringLiteral("640x480");
    if (controls.selected(2))
        return QStringLiteral("320x240");
    return std::nullopt;
}

std::optional<int> syncOffsetOf(const PresetControls& controls)
{
    if (controls.selected(13))
        return 8;
    if (controls.selected(14))
        return 16;
    if (controls.selected(12))
        return 32;
    return std::nullopt;
}

std::optional<int> licInsetOf(const PresetControls& controls)
{
    static const std::pair<int, int> insets[] = {{24, 4}, {23, 5}, {19, 6}, {18, 7},
                                                 {17, 8}, {20, 9}, {21, 10}, {22, 1}};
    for (const auto& [option, inset] : insets)
        if (controls.selected(option))
            return inset;
    return std::nullopt;
}

std::optional<int> levelOf(const PresetControls& controls)
{
    if (controls.selected(6))
        return 2;
    if (controls.selected(7))
        return 3;
    return std::nullopt;
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
