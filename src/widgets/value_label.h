// Labels that show a value (the duration estimates, XShift and YShift, the
// progress count, the version, the signature read-out) keep their name for a
// screen reader and give their current text as its value and description, so
// that "XShift" is read together with the number it shows.
#pragma once

#include <QLabel>

namespace tonobild {

// A read-out label. Its own class name matters: Qt's accessibility for widgets
// answers for every plain QLabel before any installed factory is asked, so
// only a label of a class of its own reaches the value-giving interface.
class ValueLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
};

// Makes label (a ValueLabel, or a QLabel subclass of its own such as a
// clickable label) give its text to a screen reader as its value.
void markAsValueLabel(QLabel* label);

} // namespace tonobild
