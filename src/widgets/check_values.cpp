#include "widgets/check_values.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

namespace tonobild {

int checkValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void setCheckValue(QCheckBox* box, int value)
{
    if (value == 1)
        box->setCheckState(Qt::Checked);
    else if (value == 2)
        box->setCheckState(Qt::PartiallyChecked);
    else
        box->setCheckState(Qt::Unchecked);
}

void setOption(QRadioButton* option, bool selected)
{
    if (selected || !option->isChecked()) {
        option->setChecked(selected);
        return;
    }
    // An exclusive group keeps one button checked; let go of it for a moment.
    QButtonGroup* buttons = option->group();
    if (buttons)
        buttons->setExclusive(false);
    option->setChecked(false);
    if (buttons)
        buttons->setExclusive(true);
}

} // namespace tonobild
