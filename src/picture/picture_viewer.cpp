#include "picture/picture_viewer.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <array>

namespace tonobild {

namespace {

constexpr std::array<int, 6> kZoomSteps = {25, 50, 100, 200, 400, 800};

QPushButton* viewerButton(const QString& caption, const char* name, const QKeySequence& key, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    button->setShortcut(key);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(caption, key.toString(QKeySequence::NativeText)));
    return button;
}

} // namespace

PictureViewer::PictureViewer(const QImage& picture, QWidget* parent)
    : QWidget(parent, Qt::Window), picture_(picture)
{
    setObjectName(QStringLiteral("PictureViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Working picture, %1 x %2").arg(picture.width()).arg(picture.height()));
    setAccessibleName(windowTitle());

    canvas_ = new QLabel;
    canvas_->setObjectName(QStringLiteral("canvas"));
    canvas_->setAccessibleName(QStringLiteral("Working picture at full size"));
    area_ = new QScrollArea(this);
    area_->setWidget(canvas_);
    area_->setAlignment(Qt::AlignCenter);
    zoomOutButton_ = viewerButton(QStringLiteral("Zoom out"), "zoomOut", QKeySequence::ZoomOut, this);
    zoomInButton_ = viewerButton(QStringLiteral("Zoom in"), "zoomIn", QKeySequence::ZoomIn, this);
    auto* actualSize = viewerButton(QStringLiteral("Actual size"), "actualSize", QKeySequence(Qt::CTRL | Qt::Key_0), this);
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("zoomLabel"));

    auto* controls = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{zoomOutButton_, zoomInButton_, actualSize, zoomLabel_})
        controls->addWidget(w);
    controls->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(area_, 1);

    connect(zoomOutButton_, &QPushButton::clicked, this, &PictureViewer::zoomOut);
    connect(zoomInButton_, &QPushButton::clicked, this, &PictureViewer::zoomIn);
    connect(actualSize, &QPushButton::clicked, this, [this] { setZoom(100); });
    showAtZoom();
    resize(std::min(picture.width(), 1024) + 40, std::min(picture.height(), 768) + 80);
}

void PictureViewer::setZoom(int percent)
{
    if (std::find(kZoomSteps.begin(), kZoomSteps.end(), percent) == kZoomSteps.end())
        return;
    zoom_ = percent;
    showAtZoom();
}

void PictureViewer::zoomIn()
{
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom_);
    if (next != kZoomSteps.end())
        setZoom(*next);
}

void PictureViewer::zoomOut()
{
    const auto here = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom_);
    if (here != kZoomSteps.begin())
        setZoom(*std::prev(here));
}

void PictureViewer::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() > 0)
        zoomIn();
    else if (event->angleDelta().y() < 0)
        zoomOut();
    event->accept();
}

// Enlarged pictures keep their pixels square and sharp: every picture pixel
// becomes a block of screen pixels, as a slow-scan operator checks a line.
void PictureViewer::showAtZoom()
{
    const QSize size = picture_.size() * zoom_ / 100;
    canvas_->setPixmap(QPixmap::fromImage(
        picture_.scaled(size.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                        zoom_ >= 100 ? Qt::FastTransformation : Qt::SmoothTransformation)));
    canvas_->resize(canvas_->pixmap().size());
    zoomLabel_->setText(QStringLiteral("%1%").arg(zoom_));
    zoomLabel_->setAccessibleName(QStringLiteral("Zoom %1%").arg(zoom_));
    zoomInButton_->setEnabled(zoom_ < kZoomSteps.back());
    zoomOutButton_->setEnabled(zoom_ > kZoomSteps.front());
}

} // namespace tonobild
