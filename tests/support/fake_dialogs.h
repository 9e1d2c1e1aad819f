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
    void message(QWidget*, const QString& title, const QString& text) override { messages.push_back({title, text}); }
    QString askText(QWidget*, const QString& title, const QString& prompt) override
    {
        questions.push_back(title + QLatin1Char('|') + prompt);
        return next(answers, QString());
    }
    bool ask(QWidget*, const QString& title, const QString& question) override
    {
        asked.push_back(title + QLatin1Char('|') + question);
        return next(yesNoAnswers, false);
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

private:
    // The next queued answer, or `none` when the queue is empty.
    template <typename T>
    static T next(std::deque<T>& queue, T none)
    {
        if (queue.empty())
            return none;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

} // namespace tonobild::testdata
