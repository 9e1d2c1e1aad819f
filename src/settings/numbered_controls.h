// The main window's numbered controls as the station's design numbers them:
// check boxes Check1..Check11 and option buttons Option1..Option27. The window
// answers for its widgets, PresetControls for the values a preset leaves.
#pragma once

namespace tonobild {

class NumberedControls {
public:
    virtual ~NumberedControls() = default;
    // The state of a check box: 0 clear, 1 ticked, 2 greyed.
    virtual int checkState(int check) const = 0;
    // Whether an option button is selected.
    virtual bool selected(int option) const = 0;

    bool ticked(int check) const { return checkState(check) == 1; }
};

} // namespace tonobild
