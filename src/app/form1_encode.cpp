// "Encode": the working picture becomes a transmission in the RAW and WAV files
// named after the audio file name.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/form1.h"
#include "widgets/user_dialogs.h"
#include "common/file_error.h"
#include "encoder/transmission_files.h"
#include "family/own_controls.h"
#include "family/own_family.h"

namespace tonobild {

namespace {

constexpr int kProgressWrap = 30000;

} // namespace

std::optional<EncoderSettings> Form1::encoderSettings() const
{
    return numberedEncoderSettings(*this);
}

void Form1::Command1_Click()
{
    if (busy_)
        return;
    Label9->setText(QStringLiteral("0"));
    clearPassProgress();
    const std::optional<EncoderSettings> settings = encoderSettings();
    if (!settings) {
        dialogs_.message(this, QStringLiteral("Tonobild 3"),
                         QStringLiteral("No resolution is selected. Choose 160x120, 320x240 or 640x480, then "
                                        "click on Encode again."));
        return;
    }
    busy_ = true;
    setCommandsEnabled(false);
    OwnSender sender(picture_, encoderControls_, state_, *settings, numberedTransmissionRate(*this));
    const bool finished = encodeTo(Text2->text(), sender);
    busy_ = false;
    if (closing_)
        return;
    setCommandsEnabled(true);
    if (finished) {
        raise();
        activateWindow();
        dialogs_.message(this, QStringLiteral("Tonobild 3"), QStringLiteral("Encoded"));
    }
}

// Writes the stream; answers true when both files are complete. A failure is
// reported here; a window closing meanwhile leaves the old files as they were.
bool Form1::encodeTo(const QString& audioFile, PictureSender& sender)
{
    TransmissionFiles files(audioFile.toStdString(), sender.format().rate,
                            playerWavBox->isChecked() ? TransmissionFiles::PlayerWav::With
                                                      : TransmissionFiles::PlayerWav::Without);
    try {
        files.open();
        const bool sent = sender.send(files, [this](const PassProgress& progress) {
            countProgressStep();
            showPassProgress(progress);
            const bool goOn = yieldAtProgressPoint();
            if (Label9->text().toInt() > kProgressWrap)
                Label9->setText(QStringLiteral("0"));
            return goOn;
        });
        if (!sent)
            return false;
        if (const std::string problem = files.commit(); !problem.empty())
            dialogs_.message(this, QStringLiteral("Encode"),
                             QStringLiteral("The RAW and WAV files were written; the WAV for other players was not.\n%1")
                                 .arg(QString::fromStdString(problem)));
        return true;
    } catch (const std::exception& error) { // a file error, or memory running out
        files.abandon();
        if (!closing_)
            dialogs_.message(this, QStringLiteral("Encode failed"),
                             QStringLiteral("The transmission was not written.\n%1")
                                 .arg(QString::fromStdString(error.what())));
        return false;
    }
}

} // namespace tonobild
