#include "receiver/waterfall_view.h"

#include <QPainter>
#include <array>
#include <cstring>

namespace tonobild {

namespace {

constexpr std::array<int, 4> kMarksHz = {1200, 1500, 1900, 2300};
constexpr int kScaleHeight = 14; // the marks' captions above the rows

// Black through blue and yellow to white as the level rises: brighter at every step.
QRgb levelColour(int level)
{
    if (level < 85)
        return qRgb(0, 0, 3 * level);
    if (level < 170) {
        const int t = 3 * (level - 85);
        return qRgb(t, t, 255 - t);
    }
    return qRgb(255, 255, 3 * (level - 170));
}

} // namespace

WaterfallView::WaterfallView(QWidget* parent) : QWidget(parent), image_(kColumns, kRows, QImage::Format_RGB32)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_.fill(Qt::black);
    repaintTimer_.setSingleShot(true);
    connect(&repaintTimer_, &QTimer::timeout, this, [this] {
        lastRepaint_.restart();
        update();
    });
}

void WaterfallView::listen(std::uint32_t sampleRate, double topHz)
{
    waterfall_ = std::make_unique<Waterfall>(sampleRate, kColumns, topHz);
    image_.fill(Qt::black);
    update();
}

void WaterfallView::feed(std::span<const std::uint8_t> samples)
{
    if (!waterfall_)
        return;
    newRows_.clear();
    waterfall_->feed(samples, newRows_);
    const int count = std::min(kRows, static_cast<int>(newRows_.size() / kColumns));
    if (count == 0)
        return;
    // The older rows move down; the newest goes to the top.
    const auto rowBytes = static_cast<std::size_t>(image_.bytesPerLine());
    if (count < kRows)
        std::memmove(image_.scanLine(count), image_.scanLine(0), rowBytes * static_cast<std::size_t>(kRows - count));
    for (int r = 0; r < count; ++r) {
        const std::uint8_t* levels = newRows_.data() + newRows_.size() - static_cast<std::size_t>((r + 1) * kColumns);
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(r));
        for (int c = 0; c < kColumns; ++c)
            line[c] = levelColour(levels[c]);
    }
    scheduleRepaint();
}

// At once when the last repaint is a screen's frame ago, else when it will be.
void WaterfallView::scheduleRepaint()
{
    if (repaintTimer_.isActive())
        return;
    const qint64 since = lastRepaint_.isValid() ? lastRepaint_.elapsed() : kRepaintIntervalMs;
    repaintTimer_.start(static_cast<int>(std::max<qint64>(0, kRepaintIntervalMs - since)));
}

void WaterfallView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QRect area = rect().adjusted(0, kScaleHeight, 0, 0);
    painter.drawImage(area, image_);
    paintMarks(painter, area);
}

void WaterfallView::paintMarks(QPainter& painter, const QRect& area) const
{
    if (!waterfall_)
        return;
    QFont font = painter.font();
    font.setPixelSize(kScaleHeight - 3);
    painter.setFont(font);
    for (const int hz : kMarksHz) {
        if (hz >= waterfall_->topHz())
            continue;
        const int x = area.left() + static_cast<int>(hz / waterfall_->topHz() * area.width());
        painter.setPen(QColor(255, 255, 255, 110));
        painter.drawLine(x, area.top(), x, area.bottom());
        painter.setPen(Qt::white);
        painter.drawText(QRect(x - 30, 0, 60, kScaleHeight), Qt::AlignCenter, QString::number(hz));
    }
}

} // namespace tonobild
