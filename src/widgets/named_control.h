// Gives a control its design name as object name, by which the tests and the
// window find it, and a name for screen readers.
#pragma once

#include <QString>

namespace tonobild {

template <typename Control>
Control* named(Control* control, const char* name, const QString& accessibleName)
{
    control->setObjectName(QLatin1String(name));
    control->setAccessibleName(accessibleName);
    return control;
}

} // namespace tonobild
