// What a window shows, as a user reads it: the text of its labels that show,
// and its buttons by their captions.
#pragma once

#include <QLabel>
#include <QPushButton>

namespace tonobild::testdata {

// The text of every label that shows, each followed by a newline.
inline QString visibleText(const QWidget& window)
{
    QString all;
    for (const auto* label : window.findChildren<QLabel*>())
        if (label->isVisibleTo(&window))
            all += label->text() + QLatin1Char('\n');
    return all;
}

inline QPushButton* button(const QWidget& window, const QString& caption)
{
    for (auto* b : window.findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

} // namespace tonobild::testdata
