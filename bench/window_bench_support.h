// What the window's benchmarks share: message boxes that nobody answers.
#pragma once

#include "widgets/user_dialogs.h"

namespace tonobild::bench {

class SilentDialogs final : public UserDialogs {
public:
    void message(QWidget*, const QString&, const QString&) override {}
    QString askText(QWidget*, const QString&, const QString&) override { return {}; }
    bool ask(QWidget*, const QString&, const QString&) override { return false; }
    void beep() override {}
};

} // namespace tonobild::bench
