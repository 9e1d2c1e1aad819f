// "Record" and "Play" start the recorder program named in the settings store.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include "app/form1.h"
#include "audio/wav_header.h"
#include "settings/memory_settings_store.h"
#include "support/fake_dialogs.h"
#include "support/test_data.h"

using namespace tonobild;
using tonobild::testdata::FakeDialogs;

namespace {

// A recorder stand-in that writes each argument it receives on a line of its own.
QString writeStandIn(const QTemporaryDir& folder)
{
    const QString path = folder.filePath("recorder.sh");
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    // The list is written beside and moved into place, so the test never reads half of it.
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.part\"\nmv \"$0.part\" \"$0.args\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList argumentsReceived(const QString& standIn)
{
    QElapsedTimer waited;
    waited.start();
    QFile args(standIn + ".args");
    while (!args.exists() && waited.elapsed() < 10000)
        QThread::msleep(20);
    if (!args.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(args.readAll()).split('\n');
    lines.removeAll(QString());
    args.remove();
    return lines;
}

} // namespace

TEST(Form1Audio, RecordPreparesTheFileAndBothPassTheNameAsOneArgument)
{
    QTemporaryDir folder;
    const QString standIn = writeStandIn(folder);
    FakeDialogs dialogs;
    MemorySettingsStore store;
    store.write("Settings", "Recorder", standIn.toStdString());
    Form1 window(dialogs, store);
    const QString wav = folder.filePath("my recording.wav");
    QFile old(wav);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1 << 20, 'x'));
    old.close();
    window.Text2->setText(wav);

    window.Command7->click();
    EXPECT_EQ(argumentsReceived(standIn), QStringList{wav});
    const auto bytes = testdata::readBytes(wav.toStdString());
    const auto header = recordingHeader();
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(header.begin(), header.end()));
    EXPECT_TRUE(window.Command1->isEnabled());
    EXPECT_TRUE(window.Command7->isEnabled());

    window.Command8->click();
    EXPECT_EQ(argumentsReceived(standIn), (QStringList{"/play", "/close", wav}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(Form1Audio, FailuresAreReportedAndTheButtonsStayEnabled)
{
    QTemporaryDir folder;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    store.write("Settings", "Recorder", folder.filePath("no-such-recorder").toStdString());
    Form1 window(dialogs, store);
    window.Text2->setText(folder.filePath("missing/folder/x.wav"));
    window.Command7->click();
    window.Text2->setText(folder.filePath("x.wav"));
    window.Command8->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("missing/folder/x.wav"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("no-such-recorder"));
    for (QPushButton* command : {window.Command1, window.Command2, window.Command7, window.Command8})
        EXPECT_TRUE(command->isEnabled());
}
