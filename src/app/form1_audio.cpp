// "Record" and "Play": the recorder program works on the audio file named in
// the window; the station prepares the file for a recording and does not wait.
#include <QLineEdit>
#include <QPushButton>

#include "app/form1.h"
#include "widgets/user_dialogs.h"
#include "recorder/recorder_launcher.h"
#include "transmitter/hamlib_ptt.h"
#include "transmitter/transmitter_dialog.h"

namespace tonobild {

void Form1::connectAudioReactions()
{
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(transmitterButton, &QPushButton::clicked, this, [this] {
        TransmitterDialog(store_, dialogs_, openHamlibPtt, this).exec();
    });
}

void Form1::Command7_Click()
{
    if (saysListeningIsOn(QStringLiteral("Record")))
        return;
    setCommandsEnabled(false);
    const QString problem = startRecording(Text2->text(), store_);
    setCommandsEnabled(true);
    if (!problem.isEmpty())
        dialogs_.message(this, QStringLiteral("Record"), problem);
}

void Form1::Command8_Click()
{
    const QString problem = startPlaying(Text2->text(), store_);
    if (!problem.isEmpty())
        dialogs_.message(this, QStringLiteral("Play"), problem);
}

} // namespace tonobild
