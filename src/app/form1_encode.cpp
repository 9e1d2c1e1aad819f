// "Encode": the working picture becomes a transmission: in the station's own
// format the RAW and WAV files named after the audio file name, in a standard
// mode a 16-bit WAV file of that name.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/form1.h"
#include "audio/audio_engine.h"
#include "widgets/user_dialogs.h"
#include "common/file_error.h"
#include "encoder/transmission_files.h"
#include "family/own_controls.h"
#include "family/own_family.h"
#include "family/standard_family.h"
#include "settings/settings_store.h"
#include "settings/sound_device_keys.h"
#include "soundfile/wav_sink.h"

namespace tonobild {

namespace {

constexpr int kProgressWrap = 30000;

// A standard transmission is written at the rate the recorder's output device
// runs at when that is 48000, else at 44100: played as it is, never resampled.
std::uint32_t standardSendingRate(const SettingsStore& store)
{
    const QAudioDevice device =
        AudioEngine::findOutput(QString::fromStdString(store.read(kRecorderSection, kOutputDeviceKey, "")));
    return !device.isNull() && device.preferredFormat().sampleRate() == 48000 ? 48000 : 44100;
}

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
    const standard::StandardMode* mode = chosenStandardMode();
    const std::optional<EncoderSettings> settings = encoderSettings();
    if (mode == nullptr && !settings) {
        dialogs_.message(this, QStringLiteral("Tonobild 3"),
                         QStringLiteral("No resolution is selected. Choose 160x120, 320x240 or 640x480, then "
                                        "click on Encode again."));
        return;
    }
    busy_ = true;
    setCommandsEnabled(false);
    const bool finished = mode ? encodeStandard(*mode) : encodeOwn(*settings);
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

bool Form1::encodeOwn(const EncoderSettings& settings)
{
    OwnSender sender(sendingPicture(), encoderControls_, state_, settings, numberedTransmissionRate(*this));
    TransmissionFiles files(Text2->text().toStdString(), sender.format().rate,
                            playerWavBox->isChecked() ? TransmissionFiles::PlayerWav::With
                                                      : TransmissionFiles::PlayerWav::Without);
    return encodeTo(sender, {files, [&] { files.open(); }, [&] { return files.commit(); }, [&] { files.abandon(); }});
}

bool Form1::encodeStandard(const standard::StandardMode& mode)
{
    StandardSendSettings settings{&mode, {}, standard::Fit::Bars};
    settings.options.sampleRate = standardSendingRate(store_);
    if (fskIdBox->isChecked())
        settings.options.callsign = callsignBox->text().toStdString();
    StandardSender sender(sendingPicture(), settings);
    WavSink file(Text2->text().toStdString(), sender.format());
    return encodeTo(sender, {file, [&] { file.open(); },
                             [&] {
                                 file.commit();
                                 return std::string();
                             },
                             [&] { file.abandon(); }});
}

// Writes the stream; answers true when the files are complete. A failure is
// reported here; a window closing meanwhile leaves the old files as they were.
bool Form1::encodeTo(PictureSender& sender, const EncodeTarget& target)
{
    try {
        target.open();
        const bool sent = sender.send(target.sink, [this](const PassProgress& progress) {
            countProgressStep();
            showPassProgress(progress);
            const bool goOn = yieldAtProgressPoint();
            if (Label9->text().toInt() > kProgressWrap)
                Label9->setText(QStringLiteral("0"));
            return goOn;
        });
        if (!sent)
            return false;
        if (const std::string problem = target.commit(); !problem.empty())
            dialogs_.message(this, QStringLiteral("Encode"),
                             QStringLiteral("The RAW and WAV files were written; the WAV for other players was not.\n%1")
                                 .arg(QString::fromStdString(problem)));
        return true;
    } catch (const std::exception& error) { // a file error, memory running out, a picture the mode cannot take
        target.abandon();
        if (!closing_)
            dialogs_.message(this, QStringLiteral("Encode failed"),
                             QStringLiteral("The transmission was not written.\n%1")
                                 .arg(QString::fromStdString(error.what())));
        return false;
    }
}

} // namespace tonobild
