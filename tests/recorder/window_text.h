// What a window shows, as a user reads it: the text of its labels that show,
// and its controls by their captions or their accessible names.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <algorithm>

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

// The first control of type T whose `by` (caption, accessible name) is `value`, or none.
template <typename T, typename By>
T* control(const QWidget& window, const QString& value, By by)
{
    const auto all = window.findChildren<T*>();
    const auto it = std::ranges::find(all, value, by);
    return it == all.end() ? nullptr : *it;
}

inline QPushButton* button(const QWidget& window, const QString& caption)
{ return control<QPushButton>(window, caption, &QPushButton::text); }

} // namespace tonobild::testdata
