// The settings file: an INI file in the user's configuration folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "settings/mode_presets.h"
#include "settings/qsettings_store.h"

namespace tonobild {
namespace {

TEST(QSettingsStore, ValuesWithSpacesAndCommasRoundTripThroughTheFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tonobild 3/Tonobild 3.ini"));
    {
        QSettingsStore store(path);
        writeDefaultMode(store, Mode::CB);
        store.write("FM", "sign", " Acall,2");
        EXPECT_EQ(store.takeWriteProblem(), "");
    }
    const QSettingsStore reopened(path);
    EXPECT_EQ(reopened.read("Settings", "Default Mode", "15"), "16");
    EXPECT_EQ(readDefaultMode(reopened), Mode::CB);
    EXPECT_EQ(reopened.read("FM", "sign", ""), " Acall,2");
}

TEST(QSettingsStore, AnUnwritableFileIsReportedOnceWithItsPath)
{
    QTemporaryDir folder;
    const QString blocker = folder.filePath(QStringLiteral("plain-file"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // A folder cannot be made inside a plain file, whoever runs the test.
    const QString path = blocker + QStringLiteral("/Tonobild 3/Tonobild 3.ini");
    QSettingsStore store(path);
    store.write("Settings", "Default Mode", "15");
    store.write("FM", "t2", "x");
    const std::string problem = store.takeWriteProblem();
    EXPECT_EQ(problem.rfind(path.toStdString() + ": ", 0), 0u) << problem;
    EXPECT_EQ(store.takeWriteProblem(), "");
    EXPECT_EQ(store.read("FM", "t2", "default"), "x"); // still answered for this session
}

} // namespace
} // namespace tonobild
