// A label that reacts to a click, as the duration labels and the signature
// read-out do.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace tonobild {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit clicked();
    }
};

} // namespace tonobild
