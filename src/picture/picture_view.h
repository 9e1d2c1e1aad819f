// A widget that shows a picture stretched onto its area and reports mouse
// clicks in its own coordinates. Used for the preview, the working picture
// shown during a decode, the thumbnail and the two fixed cards.
#pragma once

#include <QImage>
#include <QWidget>

namespace tonobild {

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const noexcept { return image_; }
    // Keeps the picture's proportions inside the area instead of stretching it.
    void setKeepAspect(bool keep);
    // The rectangle the picture is drawn into.
    QRectF pictureRect() const;
    // The size a layout gives the view when it has the room.
    void setNaturalSize(QSize size);
    QSize sizeHint() const override;

signals:
    void released(Qt::MouseButton button, QPointF position);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    bool keepAspect_ = false;
    QSize naturalSize_;
};

} // namespace tonobild
