// The working picture in a window of its own at its full size, to be looked at
// closely: a received 640 x 480 picture, which the preview shows at half size.
// Zoom in and out in steps, or back to one screen pixel per picture pixel.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;

namespace tonobild {

class PictureViewer : public QWidget {
    Q_OBJECT
public:
    explicit PictureViewer(const QImage& picture, QWidget* parent = nullptr);

    // Percent of the picture's size: 25, 50, 100, 200, 400 or 800.
    int zoom() const noexcept { return zoom_; }
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void showAtZoom();

    QImage picture_;
    int zoom_ = 100;
    QScrollArea* area_ = nullptr;
    QLabel* canvas_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
    QPushButton* zoomInButton_ = nullptr;
};

} // namespace tonobild
