// Every message box, input box and beep of the station goes through this small
// interface, so that tests can answer them instead of a person.
#pragma once

#include <QString>

class QWidget;

namespace tonobild {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A message box with an OK button only.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    // An input box; a cancelled box answers an empty text.
    virtual QString askText(QWidget* parent, const QString& title, const QString& prompt) = 0;
    // A question with Yes and No buttons; answers true for Yes.
    virtual bool ask(QWidget* parent, const QString& title, const QString& question) = 0;
    virtual void beep() = 0;
};

// The real boxes of the desktop.
class DesktopDialogs final : public UserDialogs {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override;
    QString askText(QWidget* parent, const QString& title, const QString& prompt) override;
    bool ask(QWidget* parent, const QString& title, const QString& question) override;
    void beep() override;
};

} // namespace tonobild
