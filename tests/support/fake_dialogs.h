// Message boxes and input boxes answered by the test instead of a person.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "app/user_dialogs.h"

namespace tonobild::testdata {

struct ShownMessage {
    QString title;
    QString text;
};

class FakeDialogs final : public UserDialogs {
public:
    void message(QWidget*, const QString& title, const QString& text) override
    {
        messages.push_back({title, text});
    }
    QString askText(QWidget*, const QString& title, const QString& prompt) override
    {
        questions.push_back(title + QLatin1Char('|') + prompt);
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override { ++beeps; }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : messages)
            texts << m.text;
        return texts;
    }

    std::vector<ShownMessage> messages;
    QStringList questions;
    std::deque<QString> answers;
    int beeps = 0;
};

} // namespace tonobild::testdata
