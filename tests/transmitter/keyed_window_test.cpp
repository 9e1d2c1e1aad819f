// A standard transmission played from the window keys the rig and releases
// it: Encode in Robot 8 B/W, then Play, which starts the recorder with the
// settings store's Transmitter section. Run by keyed_play_test.sh with Hamlib's
// dummy rig behind rigctld on the port in TONOBILD_RIG_PORT, inside its sound server.
#include <QComboBox>
#include <QProcess>
#include <QTest>

#include "support/window_test.h"

using namespace tonobild;
using namespace tonobild::testdata;

namespace {

// The dummy rig's PTT as rigctl reads it: "1" or "0".
QString ptt(const QString& port)
{
    QProcess rigctl;
    rigctl.start(QStringLiteral("rigctl"), {"-m", "2", "-r", port, "t"});
    rigctl.waitForFinished(5000);
    return QString::fromLatin1(rigctl.readAllStandardOutput()).trimmed();
}

} // namespace

TEST_F(WindowTest, AStandardTransmissionPlayedFromTheWindowKeysAndReleasesTheRig)
{
    const QString port = qEnvironmentVariable("TONOBILD_RIG_PORT");
    if (port.isEmpty())
        GTEST_SKIP() << "run by keyed_play_test.sh, with the rig's port in TONOBILD_RIG_PORT";
    store.write("Settings", "Recorder", TONOBILD_RECORDER);
    Form1 window(dialogs, store);
    auto* mode = control<QComboBox>(window, "standardMode");
    mode->setCurrentIndex(mode->findText(QStringLiteral("Robot 8 B/W")));
    text(window, 2)->setText(folder.filePath(QStringLiteral("robot8.wav")));
    command(window, 1)->click();
    ASSERT_EQ(dialogs.messages, QStringList{"Encoded"});
    command(window, 8)->click();
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.messages.last().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ptt(port) == QLatin1String("1"); }, 20000)) << "never keyed";
    // 8.9 s of samples with the lead and tail of the settings file.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ptt(port) == QLatin1String("0"); }, 30000)) << "never released";
}
