// Message boxes and input boxes answered by the test instead of a person, and
// the windows' tests on them, a settings store and a folder of their own.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "widgets/user_dialogs.h"
#include "settings/memory_settings_store.h"

namespace tonobild::testdata {

class FakeDialogs final : public UserDialogs {
public:
    void message(QWidget*, const QString&, const QString& text) override { messages << text; }
    // Input boxes are answered in turn, cancelled (empty) when no answer is left.
    QString askText(QWidget*, const QString&, const QString&) override
    {
        ++questions;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    // Every Yes/No question is answered No.
    bool ask(QWidget*, const QString& title, const QString& question) override
    {
        asked << title + QLatin1Char('|') + question;
        return false;
    }
    void beep() override {}

    QStringList messages;  // the texts of the message boxes shown
    int questions = 0;     // input boxes shown
    QStringList answers;
    QStringList asked;     // the Yes/No questions, as "title|question"
};

class WindowTest : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    MemorySettingsStore store;
    QTemporaryDir folder;
};

} // namespace tonobild::testdata
