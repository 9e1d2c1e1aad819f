#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "settings/mode_presets.h"
#include "settings/qsettings_store.h"

namespace tonobild {
namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(QSettingsStore, ValuesSurviveAFreshStoreOnTheSameFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Tonobild 3/Tonobild 3.ini"));
    {
        QSettingsStore store(path);
        writeDefaultMode(store, Mode::CB);
        store.write("Directories", "Test Pattern", "/home/op/cards/");
        store.write("FM", "sign", " Acall,2");
        store.write("FM", "t3", "");
        EXPECT_EQ(store.takeWriteProblem(), "");
    }
    const QString text = readAll(path);
    EXPECT_TRUE(text.contains(QStringLiteral("[Settings]")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Directories]")));

    const QSettingsStore reopened(path);
    EXPECT_EQ(readDefaultMode(reopened), Mode::CB);
    EXPECT_EQ(reopened.read("Settings", "Default Mode", "15"), "16");
    EXPECT_EQ(reopened.read("Directories", "Test Pattern", ""), "/home/op/cards/");
    EXPECT_EQ(reopened.read("FM", "sign", ""), " Acall,2");
    EXPECT_EQ(reopened.read("FM", "t3", "x"), "");
    EXPECT_EQ(reopened.read("FM", "t4", "missing"), "missing");
    EXPECT_EQ(reopened.read("HAM", "v2", "1"), "1");
}

TEST(QSettingsStore, AWriteIsVisibleToAnotherStoreAtOnce)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    QSettingsStore first(path);
    first.write("HAM", "o2", "1");
    EXPECT_TRUE(readAll(path).contains(QStringLiteral("o2=1")));
}

TEST(QSettingsStore, HandWrittenOrCorruptValuesStillRead)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[HAM]\nc1=abc\nc2=7\nv2=99999\nt2=a, b\no3=1\n[Settings]\nDefault%20Mode=HAM\n");
    file.close();

    const QSettingsStore store(path);
    EXPECT_EQ(readDefaultMode(store), std::nullopt);
    const ModePreset preset = readPreset(store, Mode::HAM);
    EXPECT_EQ(preset.checks[1], std::nullopt);
    EXPECT_EQ(preset.checks[2], std::nullopt);
    EXPECT_EQ(preset.v2, std::nullopt);
    EXPECT_EQ(preset.t2, "a, b");
    EXPECT_EQ(preset.options[3], true);
    EXPECT_EQ(preset.checks[3], 0);
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
    EXPECT_GT(problem.size(), path.size() + 2);
    EXPECT_EQ(store.takeWriteProblem(), "");
    EXPECT_EQ(store.read("FM", "t2", "default"), "x"); // still answered for this session
}

TEST(QSettingsStore, UserFileLivesInTheConfigurationFolder)
{
    QTemporaryDir folder;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    EXPECT_EQ(QSettingsStore::userFilePath(), folder.path() + QStringLiteral("/Tonobild 3/Tonobild 3.ini"));
    {
        QSettingsStore store;
        EXPECT_EQ(store.filePath(), QSettingsStore::userFilePath());
        store.write("Settings", "Default Mode", "27");
    }
    EXPECT_TRUE(QFile::exists(folder.path() + QStringLiteral("/Tonobild 3/Tonobild 3.ini")));
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
} // namespace tonobild
