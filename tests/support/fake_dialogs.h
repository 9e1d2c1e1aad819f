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
    bool ask(QWidget*, const QString& title, const QString& question) override
    {
        asked.push_back(title + QLatin1Char('|') + question);
        if (yesNoAnswers.empty())
            return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
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
    QStringList asked;              // the Yes/No questions, as "title|question"
    std::deque<bool> yesNoAnswers;  // answered in turn; No when none is left
    int beeps = 0;
};

} // namespace tonobild::testdata
