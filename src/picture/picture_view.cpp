#include "picture/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace tonobild {

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::setImage(const QImage& image)
{
    image_ = image;
    update();
}

void PictureView::setKeepAspect(bool keep)
{
    keepAspect_ = keep;
    update();
}

QRectF PictureView::pictureRect() const
{
    if (!keepAspect_ || image_.isNull())
        return QRectF(rect());
    const QSizeF size = QSizeF(image_.size()).scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF(0, 0), size);
}

void PictureView::setNaturalSize(QSize size)
{
    naturalSize_ = size;
    updateGeometry();
}

QSize PictureView::sizeHint() const
{
    return naturalSize_.isValid() ? naturalSize_ : QWidget::sizeHint();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!image_.isNull())
        painter.drawImage(pictureRect(), image_);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button(), event->position());
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace tonobild
