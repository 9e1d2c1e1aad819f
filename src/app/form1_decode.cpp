// "Decode", "Res detect" and "STOP": a recorded file becomes the working
// picture. The window shows the picture while it is painted and keeps the
// decoder's controls current, also while the decode runs.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/form1.h"
#include "widgets/check_values.h"
#include "widgets/user_dialogs.h"
#include "soundfile/wav_file.h"
#include "common/file_error.h"
#include "decoder/recording_decode.h"
#include "family/own_controls.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "receiver/reception_panel.h"

namespace tonobild {

namespace {

constexpr int kProgressWrap = 30000;
constexpr qint64 kRepaintIntervalMs = 16; // the screen's rate, not every progress step

} // namespace

// The window's side of a running decode.
class Form1::DecodeHost final : public DecoderHost {
public:
    explicit DecodeHost(Form1& window) : window_(window) {}

    void watch(const Decoder& decoder) { decoder_ = &decoder; }

    bool progressStep() override
    {
        window_.countProgressStep();
        if (decoder_)
            window_.showPassProgress(tonobild::passProgress(window_.state_.ypos, decoder_->rows(), decoder_->passCount()));
        window_.repaintWorkingPicture();
        const bool goOn = window_.yieldAtProgressPoint();
        if (window_.Label9->text().toInt() > kProgressWrap)
            window_.Label9->setText(QStringLiteral("0"));
        return goOn;
    }
    bool rebuildRow() override
    {
        window_.repaintWorkingPicture();
        return window_.yieldAtProgressPoint();
    }
    void setLicLock(bool ticked) override { window_.setLicLock(ticked); }

private:
    Form1& window_;
    const Decoder* decoder_ = nullptr;
};

void Form1::connectDecodeReactions()
{
    for (const DecoderCheck& box : decoderChecks())
        connect(check(box.check), &QCheckBox::stateChanged, this, &Form1::syncDecoderControls);
    for (QRadioButton* inset : {Option17, Option18, Option19, Option20, Option21, Option22, Option23, Option24})
        connect(inset, &QRadioButton::toggled, this, &Form1::syncDecoderControls);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    syncDecoderControls();
}

// The decoder reads these at the moment of use; they follow the widgets at once.
void Form1::syncDecoderControls()
{
    decoderControls_ = numberedDecodeSetup(*this).controls;
}

DecodeSettings Form1::decodeSettings() const
{
    // "R+B HalfX" unticks "Half X" here as in the window's own reaction before a decode.
    DecodeSettings settings = numberedDecodeSetup(*this).startSettings();
    settings.mono = receptionPanel->monoReception();
    settings.syncLevel = Label10->text().toInt();
    settings.xshift = static_cast<int>(roundHalfEven(Label4->text().toDouble()));
    settings.yshift = static_cast<int>(roundHalfEven(Label5->text().toDouble()));
    return settings;
}

DecodeSettings Form1::listeningSettings()
{
    // As Decode takes them: "R+B HalfX" unticks "Half X" first.
    if (isTicked(Check7))
        setCheckValue(Check2, 0);
    return decodeSettings();
}

void Form1::setLicLock(bool ticked)
{
    setCheckValue(Check5, ticked ? 1 : 0);
}

void Form1::placeGalleryPicture(const QString& path)
{
    placePictureFile(path, QStringLiteral("Gallery"));
}

bool Form1::saysListeningIsOn(const QString& title)
{
    if (!listenPanel->isListening())
        return false;
    dialogs_.message(this, title, QStringLiteral("Listening is on: stop listening first."));
    return true;
}

void Form1::repaintWorkingPicture()
{
    if (lastRepaint_.elapsed() < kRepaintIntervalMs)
        return;
    lastRepaint_.restart();
    Picture1->setImage(toImage(picture_));
}

void Form1::Command3_Click()
{
    Command2_Click();
}

void Form1::Command4_Click()
{
    dialogs_.beep();
    requestStop(state_);
}

void Form1::Command2_Click()
{
    if (busy_)
        return; // never two decodes, nor a decode inside an encode
    if (saysListeningIsOn(QStringLiteral("Decode")))
        return;
    std::unique_ptr<SampleSource> file = openRecordingToDecode(Text2->text());
    if (!file)
        return;
    const DecodeSettings settings = decodeSettings();
    const std::string missing = missingDecodeChoice(settings, decoderControls_);
    if (!missing.empty()) {
        dialogs_.message(this, QStringLiteral("Decode"),
                         QStringLiteral("Choose the %1 before decoding.").arg(QString::fromStdString(missing)));
        return;
    }
    busy_ = true;
    if (isTicked(Check7)) // "R+B HalfX" unticks "Half X" before the decode
        setCheckValue(Check2, 0);
    QString failure;
    const DecodeEnd end = decodeShowingThePicture(*file, settings, failure);
    file.reset();
    busy_ = false;
    if (end == DecodeEnd::Abandoned && failure.isEmpty())
        return; // the window is closing
    showDecodingPicture(false);
    setCommandsEnabled(true);
    Label15_Click();
    if (!failure.isEmpty())
        dialogs_.message(this, QStringLiteral("Decode"), QStringLiteral("The recording could not be read to its end: %1").arg(failure));
    else
        dialogs_.message(this, QStringLiteral("Tonobild 3"), QStringLiteral("Decoded"));
}

// The recording as the reception panel has it read; nothing, after saying why, when it cannot be.
std::unique_ptr<SampleSource> Form1::openRecordingToDecode(const QString& path)
{
    try {
        return receptionPanel->openRecording(path.toStdString());
    } catch (const FileError& error) {
        dialogs_.message(this, QStringLiteral("Decode"),
                         QStringLiteral("The recording cannot be decoded: %1").arg(QString::fromStdString(error.what())));
    } catch (const WavFormatError& error) {
        dialogs_.message(this, QStringLiteral("Decode"),
                         QStringLiteral("%1 cannot be conditioned: %2").arg(path, QString::fromUtf8(error.what())));
    } catch (const std::exception& error) { // memory running out for a very long recording
        dialogs_.message(this, QStringLiteral("Decode"),
                         QStringLiteral("%1 cannot be read: %2").arg(path, QString::fromUtf8(error.what())));
    }
    return nullptr;
}

// The decode itself, with the commands off and the picture shown as it is
// painted; a read error (or memory running out) is left in failure.
DecodeEnd Form1::decodeShowingThePicture(SampleSource& recording, const DecodeSettings& settings, QString& failure)
{
    DecodeHost host(*this);
    Decoder decoder(picture_, state_, decoderControls_, host);
    host.watch(decoder);
    Label9->setText(QStringLiteral("0"));
    clearPassProgress();
    setCommandsEnabled(false);
    showDecodingPicture(true);
    try {
        return decodeRecording(decoder, settings, recording);
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    }
    return DecodeEnd::Abandoned;
}

// While decoding, the working picture takes the place of the working panel.
// At the end the preview receives the decoded picture.
void Form1::showDecodingPicture(bool decoding)
{
    if (decoding) {
        Frame7->hide();
        picture_.clear();
        lastRepaint_.invalidate();
        Picture1->setImage(toImage(picture_));
        Picture1->show();
        lastRepaint_.start();
        return;
    }
    Picture1->hide();
    refreshPreview();
    Frame7->show();
}

} // namespace tonobild
