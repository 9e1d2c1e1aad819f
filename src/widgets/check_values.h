// Check boxes and option buttons as the station's design counts them: a check
// box is 0 clear, 1 ticked or 2 greyed; an option button may be deselected
// even where its group keeps one selected.
#pragma once

class QCheckBox;
class QRadioButton;

namespace tonobild {

int checkValue(const QCheckBox* box);
void setCheckValue(QCheckBox* box, int value);
inline bool isTicked(const QCheckBox* box)
{
    return checkValue(box) == 1;
}
// Selects or deselects an option button; deselecting may leave its group empty.
void setOption(QRadioButton* option, bool selected);

} // namespace tonobild
