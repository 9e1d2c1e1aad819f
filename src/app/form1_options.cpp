// The duration estimates beside the resolution options and the captions that
// the "NR Method" and "Time Reduction" choices give the resolution options.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "app/duration_estimate.h"
#include "app/form1.h"
#include "widgets/check_values.h"

namespace tonobild {

void Form1::connectOptionReactions()
{
    for (QCheckBox* box : {Check10, Check2, Check7})
        connect(box, &QCheckBox::stateChanged, this, &Form1::timecalc);
    onSelected(Option4, &Form1::Option4_Click);
    onSelected(Option5, &Form1::Option5_Click);
    onSelected(Option8, &Form1::Option8_Click);
    onSelected(Option9, &Form1::Option9_Click);
}

void Form1::timecalc()
{
    const DurationLabels labels =
        tonobild::timecalc(isTicked(Check10), Option16->isChecked(), isTicked(Check2), isTicked(Check7));
    Label12->setText(QString::fromStdString(labels.label12));
    Label13->setText(QString::fromStdString(labels.label13));
    Label14->setText(QString::fromStdString(labels.label14));
}

void Form1::applyNrMethod(bool activeNorm)
{
    const NrMethodResult result = nrMethodCaptions(activeNorm, Option9->isChecked());
    setCheckValue(Check1, result.hsync);
    Check1->setEnabled(result.hsyncEnabled);
    const std::string* captions[] = {&result.option1, &result.option2, &result.option3};
    QRadioButton* resolutions[] = {Option1, Option2, Option3};
    for (int i = 0; i < 3; ++i) {
        resolutions[i]->setText(QString::fromStdString(*captions[i]));
        resolutions[i]->setAccessibleName(resolutions[i]->text());
    }
}

void Form1::Option4_Click()
{
    applyNrMethod(false);
}

void Form1::Option5_Click()
{
    applyNrMethod(true);
}

void Form1::Option8_Click()
{
    if (Option4->isChecked())
        Option4_Click();
    if (Option5->isChecked())
        Option5_Click();
}

void Form1::Option9_Click()
{
    Option8_Click();
}

} // namespace tonobild
