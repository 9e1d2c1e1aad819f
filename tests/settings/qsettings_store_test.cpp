// The settings file, an INI file in the user's configuration folder, and --mode:
// the values the window would hold after its mode button was clicked.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "cli/mode_option.h"
#include "settings/qsettings_store.h"

namespace tonobild {
namespace {

TEST(QSettingsStore, ValuesWithSpacesAndCommasRoundTripAnUnwritableFileIsReportedOnceAndModeOptionReadsEveryValue)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tonobild 3/Tonobild 3.ini"));
    {
        QSettingsStore store(path);
        store.write("FM", "sign", " Acall,2");
        // For --mode below.
        for (const char* key : {"o3", "o2", "o5", "o7", "o9", "o12", "o13", "o21", "c1", "c3", "c4", "c5", "c7",
                                "c8", "c9", "c10"})
            store.write("HIRES", key, "1");
        store.write("HIRES", "c2", "2"); // greyed is not ticked
        EXPECT_EQ(store.takeWriteProblem(), "");
    }
    EXPECT_EQ(QSettingsStore(path).read("FM", "sign", ""), " Acall,2");

    // An unwritable file is reported once with its path.
    const QString blocker = folder.filePath(QStringLiteral("plain-file"));
    ASSERT_TRUE(QFile(blocker).open(QIODevice::WriteOnly));
    // A folder cannot be made inside a plain file, whoever runs the test.
    const QString unwritable = blocker + QStringLiteral("/Tonobild 3/Tonobild 3.ini");
    QSettingsStore store(unwritable);
    store.write("Settings", "Default Mode", "15");
    store.write("FM", "t2", "x");
    const std::string problem = store.takeWriteProblem();
    EXPECT_EQ(problem.rfind(unwritable.toStdString() + ": ", 0), 0u) << problem;
    // Reported once; the value is still answered for this session.
    EXPECT_EQ(std::pair(store.takeWriteProblem(), store.read("FM", "t2", "default")), std::pair(std::string(), std::string("x")));

    // --mode: the user's file (the one written first, in the user's configuration folder) gives
    // every encode and decode value (the names --mode takes are CliTest's and DecodeOptions').

    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    const PresetControls controls = cli::userControlsForMode(Mode::HIRES);
    const auto cb = cli::encodeValues(cli::userControlsForMode(Mode::CB), Mode::CB); // never saved
    const auto encode = cli::encodeValues(controls, Mode::HIRES);
    // o3 is applied after o2 and wins the group.
    EXPECT_EQ(std::tuple(encode.resolution, encode.halfX, encode.compand, encode.mono, encode.slow, encode.cb),
              std::tuple(QStringLiteral("640x480"), false, true, true, true, false));
    const auto decode = cli::decodeValues(controls);
    EXPECT_TRUE(decode.hsync && decode.useLic && decode.licLock && decode.idler && decode.dynamicSync &&
                decode.rbHalfX && decode.compand && !decode.third);
    // o13 comes after o12 in the group: sync offset 8.
    EXPECT_EQ(std::tuple(decode.syncOffset, decode.licInset, decode.level), std::tuple(8, 10, 3));
    EXPECT_EQ(std::tuple(cb.resolution, cb.halfX, cb.cb), std::tuple(QStringLiteral("160x120"), true, true));
}

} // namespace
} // namespace tonobild
