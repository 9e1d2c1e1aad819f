// The waterfall on the screen: the newest row of the input's spectra at the
// top, older ones below, from 0 Hz at the left to the top of the band at the
// right, with marks at the tones of the standard modes (the sync at 1200 Hz,
// black at 1500, the leader at 1900, white at 2300). It repaints at most at
// the screen's rate however fast rows come in.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <span>

#include "receiver/waterfall.h"

namespace tonobild {

class WaterfallView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRepaintIntervalMs = 16; // the screen's rate
    static constexpr int kRows = 250;             // ten seconds of rows
    static constexpr int kColumns = 512;
    static constexpr double kStandardTopHz = 3000;

    explicit WaterfallView(QWidget* parent = nullptr);

    // Starts anew for a stream at this rate; the band ends at topHz (the whole band: half the rate).
    void listen(std::uint32_t sampleRate, double topHz);
    // The next samples of the stream, 8-bit unsigned.
    void feed(std::span<const std::uint8_t> samples);
    const Waterfall* waterfall() const { return waterfall_.get(); }
    // The rows as shown, newest at the top, one pixel a column and row.
    const QImage& rows() const { return image_; }

    QSize sizeHint() const override { return {kColumns, 200}; }
    QSize minimumSizeHint() const override { return {220, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void scheduleRepaint();
    void paintMarks(class QPainter& painter, const QRect& area) const;

    std::unique_ptr<Waterfall> waterfall_;
    QImage image_;
    std::vector<std::uint8_t> newRows_;
    QElapsedTimer lastRepaint_;
    QTimer repaintTimer_;
};

} // namespace tonobild
