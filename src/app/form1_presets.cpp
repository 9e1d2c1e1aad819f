// The mode presets on the window side: the five mode buttons, applying a
// stored preset through the controls, saving and resetting the selected mode,
// the mode selected at start-up, and the first-time guide.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/first_time_guide.h"
#include "app/form1.h"
#include "widgets/check_values.h"
#include "widgets/user_dialogs.h"
#include "settings/mode_presets.h"

namespace tonobild {

// Hands each preset value to its control, so that the control's reaction runs.
class Form1::WindowPresetTarget final : public PresetTarget {
public:
    explicit WindowPresetTarget(Form1& window) : window_(window) {}

    void setText(PresetText box, const std::string& text) override
    {
        const QString value = QString::fromStdString(text);
        switch (box) {
        case PresetText::AudioFile:
            window_.Text2->setText(value);
            break;
        case PresetText::OutputPicture:
            window_.Text3->setText(value);
            break;
        case PresetText::InputPicture:
            window_.Text4->setText(value);
            break;
        case PresetText::Signature:
            window_.setSignatureText(value);
            break;
        }
    }
    void setThumbnailPosition(int value) override { window_.VScroll2->setValue(value); }
    void setOption(int number, bool selected) override { tonobild::setOption(window_.option(number), selected); }
    void setCheck(int number, int state) override { setCheckValue(window_.check(number), state); }
    void setCbLock(bool locked) override
    {
        window_.Option1->setEnabled(!locked);
        window_.Check2->setEnabled(!locked);
    }

private:
    Form1& window_;
};

QRadioButton* Form1::option(int number) const
{
    return options_.at(static_cast<std::size_t>(number));
}

QCheckBox* Form1::check(int number) const
{
    return checks_.at(static_cast<std::size_t>(number));
}

int Form1::checkState(int number) const
{
    return checkValue(check(number));
}

bool Form1::selected(int number) const
{
    return option(number)->isChecked();
}

void Form1::connectPresetReactions()
{
    connect(Option15, &QRadioButton::clicked, this, &Form1::Option15_Click);
    connect(Option16, &QRadioButton::clicked, this, &Form1::Option16_Click);
    connect(Option25, &QRadioButton::clicked, this, &Form1::Option25_Click);
    connect(Option26, &QRadioButton::clicked, this, &Form1::Option26_Click);
    connect(Option27, &QRadioButton::clicked, this, &Form1::Option27_Click);
    connect(Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    connect(Command15, &QPushButton::clicked, this, &Form1::Command15_Click);
    connect(Command22, &QPushButton::clicked, this, &Form1::Command22_Click);
}

std::optional<Mode> Form1::selectedModeButton() const
{
    return selectedMode(Option15->isChecked(), Option16->isChecked(), Option25->isChecked(),
                        Option26->isChecked(), Option27->isChecked());
}

// A mode button applies its mode's preset; CB also selects 160x120 and ticks "Half X".
void Form1::modeButtonClick(Mode mode)
{
    WindowPresetTarget target(*this);
    modeButtonClicked(store_, mode, target);
    reportSettingsProblem();
}

void Form1::Option15_Click() { modeButtonClick(Mode::FM); }
void Form1::Option16_Click() { modeButtonClick(Mode::CB); }
void Form1::Option25_Click() { modeButtonClick(Mode::HAM); }
void Form1::Option26_Click() { modeButtonClick(Mode::TAPE); }
void Form1::Option27_Click() { modeButtonClick(Mode::HIRES); }

ModePreset Form1::windowPreset() const
{
    ModePreset preset;
    preset.v2 = VScroll2->value();
    for (int number : kPresetChecks)
        preset.checks[static_cast<std::size_t>(number)] = checkValue(check(number));
    preset.t2 = Text2->text().toStdString();
    preset.t3 = Text3->text().toStdString();
    preset.t4 = Text4->text().toStdString();
    preset.sign = signature->text().toStdString();
    for (int number : kPresetOptions)
        preset.options[static_cast<std::size_t>(number)] = option(number)->isChecked();
    return preset;
}

void Form1::Command13_Click()
{
    const bool saved = saveSelectedMode(store_, selectedModeButton(), windowPreset());
    reportSettingsProblem();
    if (!saved)
        dialogs_.message(this, QString::fromStdString(kNoModeSelected), QString::fromStdString(kNoModeSelected));
}

void Form1::Command15_Click()
{
    WindowPresetTarget target(*this);
    const bool reset = resetSelectedMode(store_, selectedModeButton(), target);
    reportSettingsProblem();
    if (!reset)
        dialogs_.message(this, QString::fromStdString(kNoModeSelected), QString::fromStdString(kNoModeSelected));
}

// Start-up: the mode used last is selected, which applies its preset.
void Form1::selectStoredMode()
{
    const std::optional<Mode> mode = readDefaultMode(store_);
    if (!mode)
        return;
    QRadioButton* buttons[] = {Option15, Option16, Option25, Option26, Option27};
    void (Form1::*clicks[])() = {&Form1::Option15_Click, &Form1::Option16_Click, &Form1::Option25_Click,
                                 &Form1::Option26_Click, &Form1::Option27_Click};
    const auto index = static_cast<std::size_t>(*mode);
    buttons[index]->setChecked(true);
    (this->*clicks[index])();
}

void Form1::Command22_Click()
{
    for (const GuideStep& step : kGuideSteps) {
        switch (step.kind) {
        case GuideControl::Check:
            setCheckValue(check(step.number), step.value);
            break;
        case GuideControl::Option:
            setOption(option(step.number), step.value != 0);
            break;
        case GuideControl::SyncLevel:
            VScroll1->setValue(step.value);
            break;
        }
    }
    dialogs_.message(this, QString::fromStdString(kGuideConfiguredTitle), QString::fromStdString(kGuideConfiguredText));
    dialogs_.message(this, QString::fromStdString(kGuideInstructionsTitle),
                     QString::fromStdString(guideInstructionsText()));
}

} // namespace tonobild
