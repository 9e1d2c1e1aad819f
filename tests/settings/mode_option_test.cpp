#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cli/mode_option.h"
#include "settings/memory_settings_store.h"
#include "settings/qsettings_store.h"

namespace tonobild::cli {
namespace {

TEST(ModeOption, NamesInAnyLetterCase)
{
    EXPECT_EQ(parseModeName(QStringLiteral("ham")), Mode::HAM);
    EXPECT_EQ(parseModeName(QStringLiteral("HiRes")), Mode::HIRES);
    EXPECT_EQ(parseModeName(QStringLiteral("AM")), std::nullopt);
    EXPECT_EQ(parseModeName(QStringLiteral("Settings")), std::nullopt);
}

TEST(ModeOption, NeverSavedModesLeaveNoResolutionExceptCb)
{
    MemorySettingsStore store;
    const ModeEncodeValues fm = encodeValues(controlsForMode(store, Mode::FM), Mode::FM);
    EXPECT_EQ(fm.resolution, std::nullopt);
    EXPECT_FALSE(fm.halfX || fm.compand || fm.mono || fm.slow || fm.cb);

    const ModeEncodeValues cb = encodeValues(controlsForMode(store, Mode::CB), Mode::CB);
    EXPECT_EQ(cb.resolution, QStringLiteral("160x120"));
    EXPECT_TRUE(cb.halfX);
    EXPECT_TRUE(cb.cb);

    const ModeDecodeValues decode = decodeValues(controlsForMode(store, Mode::TAPE));
    EXPECT_EQ(decode.syncOffset, std::nullopt);
    EXPECT_EQ(decode.licInset, std::nullopt);
    EXPECT_EQ(decode.level, std::nullopt);
    EXPECT_FALSE(decode.hsync || decode.useLic || decode.licLock || decode.dynamicSync);
    EXPECT_TRUE(store.writes().empty()); // the command line never changes "Default Mode"
}

TEST(ModeOption, SavedPresetGivesEveryEncodeAndDecodeValue)
{
    MemorySettingsStore store;
    for (const char* key : {"o3", "o2", "o5", "o7", "o9", "o12", "o13", "o21", "c1", "c3", "c4", "c5", "c7",
                            "c8", "c9", "c10"})
        store.write("HIRES", key, "1");
    store.write("HIRES", "c2", "2"); // greyed is not ticked

    const PresetControls controls = controlsForMode(store, Mode::HIRES);
    const ModeEncodeValues encode = encodeValues(controls, Mode::HIRES);
    EXPECT_EQ(encode.resolution, QStringLiteral("640x480")); // o3 is applied after o2 and wins the group
    EXPECT_FALSE(encode.halfX);
    EXPECT_TRUE(encode.compand && encode.mono && encode.slow);
    EXPECT_FALSE(encode.cb);

    const ModeDecodeValues decode = decodeValues(controls);
    EXPECT_TRUE(decode.hsync && decode.useLic && decode.licLock && decode.idler && decode.dynamicSync);
    EXPECT_TRUE(decode.rbHalfX && decode.compand);
    EXPECT_FALSE(decode.third);
    EXPECT_EQ(decode.syncOffset, 8); // o13 comes after o12 in the group
    EXPECT_EQ(decode.licInset, 10);
    EXPECT_EQ(decode.level, 3);
}

TEST(ModeOption, ReadsTheStoreTheWindowWrites)
{
    QTemporaryDir folder;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    {
        QSettingsStore window;
        window.write("TAPE", "o3", "1");
        window.write("TAPE", "o22", "1");
    }
    const PresetControls controls = userControlsForMode(Mode::TAPE);
    EXPECT_EQ(encodeValues(controls, Mode::TAPE).resolution, QStringLiteral("640x480"));
    EXPECT_EQ(decodeValues(controls).licInset, 1);
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
} // namespace tonobild::cli
