// The settings file, an INI file in the user's configuration folder, and --mode:
// the values the window would hold after its mode button was clicked.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "cli/mode_option.h"
#include "family/own_controls.h"
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
    const PresetControls cb = cli::userControlsForMode(Mode::CB); // never saved
    const EncoderSettings encode = *numberedEncoderSettings(controls);
    // o3 is applied after o2 and wins the group; "Slow" without the CB mode keeps the long leader.
    EXPECT_EQ(std::tuple(encode.pictureWidth, encode.pictureHeight, encode.columnStep, numberedEncoderControls(controls).compand,
                         encode.mono, numberedTransmissionRate(controls), encode.leaderSeconds),
              std::tuple(640, 480, 1, true, true, 8000u, 5));
    const DecodeSetup decode = numberedDecodeSetup(controls);
    const DecoderControls& k = decode.controls;
    EXPECT_TRUE(k.hsync && k.useLic && k.licLock && k.idler && k.dynamicSync && decode.rbHalfX && k.compand && !k.third);
    // o13 comes after o12 in the group: sync offset 8.
    EXPECT_EQ(std::tuple(decode.settings.syncOffset, k.licInset, decode.settings.normlevel), std::tuple(8, 10, 3));
    const EncoderSettings cbEncode = *numberedEncoderSettings(cb);
    EXPECT_EQ(std::tuple(cbEncode.pictureWidth, cbEncode.columnStep, cb.selected(kCbModeOption)), std::tuple(160, 2, true));
}

} // namespace
} // namespace tonobild
