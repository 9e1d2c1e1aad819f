// The Send view's own controls: the signal (the station's own format, or a
// standard mode with its duration), "Send FSK ID" with the callsign, and the
// caption drawn on the picture; all kept in the settings store as they change.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/form1.h"
#include "picture/caption_drawing.h"
#include "settings/settings_store.h"
#include "standard/standard_encoder.h"
#include "widgets/user_dialogs.h"

namespace tonobild {

namespace {

QString minutesAndSeconds(double seconds)
{
    const long whole = std::lround(seconds);
    return whole < 60 ? QStringLiteral("%1 s").arg(whole) : QStringLiteral("%1 min %2 s").arg(whole / 60).arg(whole % 60);
}

} // namespace

// The controls show what the store holds before their reactions are connected:
// a value the store holds wrongly stays there until it is set, and is said at start-up.
void Form1::connectSendReactions()
{
    for (const standard::StandardMode& mode : standard::modeTable())
        standardModeBox->addItem(QString::fromStdString(mode.name), QString::fromStdString(mode.shortName));
    showSendSettings(readSendSettings(store_).settings);
    showStandardDuration();
    connect(standardSignal, &QRadioButton::toggled, this, &Form1::sendSettingsChanged);
    connect(standardModeBox, &QComboBox::currentIndexChanged, this, [this] {
        standardSignal->setChecked(true);
        sendSettingsChanged();
    });
    connect(fskIdBox, &QCheckBox::toggled, this, &Form1::sendSettingsChanged);
    for (QLineEdit* box : {callsignBox, captionLines[0], captionLines[1]})
        connect(box, &QLineEdit::textChanged, this, &Form1::sendSettingsChanged);
    for (QComboBox* box : {captionPlace, captionColour})
        connect(box, &QComboBox::currentIndexChanged, this, &Form1::sendSettingsChanged);
}

void Form1::showSendSettings(const SendSettings& settings)
{
    const int mode = standardModeBox->findData(QString::fromStdString(settings.standardMode));
    standardModeBox->setCurrentIndex(std::max(mode, 0));
    (mode >= 0 ? standardSignal : ownSignal)->setChecked(true);
    fskIdBox->setChecked(settings.sendFskId);
    callsignBox->setText(QString::fromStdString(settings.callsign));
    for (std::size_t i = 0; i < 2; ++i)
        captionLines[i]->setText(QString::fromStdString(settings.caption.lines[i]));
    captionPlace->setCurrentIndex(settings.caption.place == CaptionPlace::Top ? 0 : 1);
    captionColour->setCurrentIndex(std::max(0, captionColour->findData(settings.caption.colour)));
    fskIdBox->setEnabled(standardSignal->isChecked());
    callsignBox->setEnabled(standardSignal->isChecked());
}

SendSettings Form1::sendSettings() const
{
    SendSettings settings;
    if (standardSignal->isChecked())
        settings.standardMode = standardModeBox->currentData().toString().toStdString();
    settings.sendFskId = fskIdBox->isChecked();
    settings.callsign = callsignBox->text().toStdString();
    for (std::size_t i = 0; i < 2; ++i)
        settings.caption.lines[i] = captionLines[i]->text().toStdString();
    settings.caption.place = captionPlace->currentIndex() == 0 ? CaptionPlace::Top : CaptionPlace::Bottom;
    settings.caption.colour = captionColour->currentData().toInt();
    return settings;
}

void Form1::sendSettingsChanged()
{
    writeSendSettings(store_, sendSettings());
    reportSettingsProblem();
    fskIdBox->setEnabled(standardSignal->isChecked());
    callsignBox->setEnabled(standardSignal->isChecked());
    showStandardDuration();
    refreshPreview();
}

// How long the mode in the box lasts, with the identification when it is sent.
void Form1::showStandardDuration()
{
    const standard::StandardMode* mode = standard::findMode(standardModeBox->currentData().toString().toStdString());
    if (mode == nullptr)
        return;
    standard::SendOptions options;
    if (fskIdBox->isChecked())
        options.callsign = callsignBox->text().toStdString();
    standardDuration->setText(QStringLiteral("%1 x %2, ~%3")
                                  .arg(mode->width)
                                  .arg(mode->height)
                                  .arg(minutesAndSeconds(standard::transmissionSeconds(*mode, options))));
}

const standard::StandardMode* Form1::chosenStandardMode() const
{
    return standardSignal->isChecked() ? standard::findMode(standardModeBox->currentData().toString().toStdString())
                                       : nullptr;
}

const WorkingPicture& Form1::sendingPicture()
{
    const Caption caption = sendSettings().caption;
    if (caption.empty())
        return picture_;
    sending_ = withCaption(picture_, caption);
    return sending_;
}

} // namespace tonobild
