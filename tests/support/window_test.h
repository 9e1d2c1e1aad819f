// The main window's tests (see WindowTest), with the window's controls the tests
// press and read, found by their object names as a screen reader finds them.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <memory>

#include "app/form1.h"
#include "picture/picture_view.h"
#include "widgets/check_values.h"
#include "support/fake_dialogs.h"
#include "support/picture_data.h"

namespace tonobild::testdata {

// The control of that object name in the window itself (not in a dialog it opened).
template <typename Control = QWidget>
Control* control(const QWidget& window, const QString& name)
{
    for (Control* found : window.findChildren<Control*>(name))
        if (found->window() == &window)
            return found;
    ADD_FAILURE() << "the window has no control " << name.toStdString();
    return nullptr;
}

// The controls the station's design numbers: Command1, Check2, Option3, Text4, Label15.
inline QPushButton* command(const QWidget& window, int number)
{
    return control<QPushButton>(window, QStringLiteral("Command%1").arg(number));
}
inline QCheckBox* check(const QWidget& window, int number)
{
    return control<QCheckBox>(window, QStringLiteral("Check%1").arg(number));
}
inline QRadioButton* option(const QWidget& window, int number)
{
    return control<QRadioButton>(window, QStringLiteral("Option%1").arg(number));
}
inline QLineEdit* text(const QWidget& window, int number)
{
    return control<QLineEdit>(window, QStringLiteral("Text%1").arg(number));
}
inline QLabel* label(const QWidget& window, int number)
{
    return control<QLabel>(window, QStringLiteral("Label%1").arg(number));
}

// Every control shown in the window, view by view (the views are the pages of
// "views"; a control shown with every view is listed with each).
inline QList<QWidget*> shownInTheirViews(QWidget& window)
{
    QList<QWidget*> shown;
    auto* views = control<QTabWidget>(window, "views");
    for (int view = 0; view < views->count(); ++view) {
        views->setCurrentIndex(view);
        for (QWidget* widget : window.findChildren<QWidget*>())
            if (widget->isVisibleTo(&window))
                shown << widget;
    }
    views->setCurrentIndex(0);
    return shown;
}

// The open top-level window of that object name, or none.
inline QWidget* topLevel(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(name) && top->isVisible())
            return top;
    return nullptr;
}

// The buttons' states, a word each: "on" or "off", and "-greyed" when disabled.
inline QString states(std::initializer_list<const QAbstractButton*> buttons)
{
    QStringList words;
    for (const QAbstractButton* button : buttons)
        words << QString(button->isChecked() ? "on" : "off") + (button->isEnabled() ? "" : "-greyed");
    return words.join(' ');
}

// A window as it opens, set to decode the signed reference stream as the reference pictures
// were decoded: level 3, with the signature scale start-up leaves.
class DecodingWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        window.workingState().sigscale = 1;
        option(window, 7)->setChecked(true);
        text(window, 2)->setText(dataFile("gradient160-signed.RAW"));
    }

    Form1 window{dialogs, store};
};

} // namespace tonobild::testdata
