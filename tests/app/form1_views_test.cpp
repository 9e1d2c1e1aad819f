// The window's views on a laptop's screen and a smaller one: every control
// inside the window with its minimum size in the view that holds it, the
// Receive view's picture large enough, and the waterfall repainting at most at
// the screen's rate however fast the input comes.
#include <QElapsedTimer>
#include <QListWidget>
#include <QScrollArea>
#include <QTest>
#include <cmath>

#include "receiver/waterfall_view.h"
#include "support/window_test.h"

using namespace tonobild;
using namespace tonobild::testdata;

namespace {

// The view's scroll area.
QScrollArea* areaOf(const QTabWidget& views)
{
    return qobject_cast<QScrollArea*>(views.currentWidget());
}

// What a control falls short of: outside the window or the view's visible part, or below its minimum size.
QString placeProblem(const QWidget& window, const QScrollArea& area, QWidget& control)
{
    const QRect inWindow(control.mapTo(&window, QPoint(0, 0)), control.size());
    const QRect visible(area.viewport()->mapTo(&window, QPoint(0, 0)), area.viewport()->size());
    const bool inView = !area.isAncestorOf(&control) || visible.contains(inWindow);
    // As a layout takes it: a minimum set on the control, else its own hint, within its maximum.
    const QSize hint = control.minimumSizeHint();
    const QSize least = QSize(control.minimumWidth() > 0 ? control.minimumWidth() : hint.width(),
                              control.minimumHeight() > 0 ? control.minimumHeight() : hint.height())
                            .boundedTo(control.maximumSize());
    if (!window.rect().contains(inWindow) || !inView)
        return QStringLiteral("%1 lies at %2,%3 %4x%5")
            .arg(control.objectName())
            .arg(inWindow.x())
            .arg(inWindow.y())
            .arg(inWindow.width())
            .arg(inWindow.height());
    if (control.width() < least.width() || control.height() < least.height())
        return QStringLiteral("%1 is smaller than its minimum").arg(control.objectName());
    return {};
}

} // namespace

// At 1366 x 768 no view scrolls; at 1024 x 700 a view may scroll, and each of its controls is
// scrolled to. Either way every named control of every view lies inside the window at its minimum
// size, and the Receive view's picture is at least 320 x 240.
TEST_F(WindowTest, EveryControlLiesInsideTheWindowInItsViewAtALaptopsSizeAndASmallerOne)
{
    for (const QSize size : {QSize(1366, 768), QSize(1024, 700)}) {
        SCOPED_TRACE(size.width());
        Form1 window(dialogs, store);
        window.resize(size);
        window.show();
        QApplication::processEvents();
        ASSERT_EQ(window.size(), size);
        auto* views = control<QTabWidget>(window, "views");
        QStringList problems;
        for (int view = 0; view < views->count(); ++view) {
            views->setCurrentIndex(view);
            QApplication::processEvents();
            QScrollArea* area = areaOf(*views);
            const bool scrolls = area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible();
            EXPECT_FALSE(size.width() == 1366 && scrolls) << views->tabText(view).toStdString() << " scrolls";
            for (QWidget* widget : window.findChildren<QWidget*>()) {
                if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_")) ||
                    !widget->isVisible() || widget == area->widget())
                    continue;
                area->ensureWidgetVisible(widget, 0, 0);
                QApplication::processEvents();
                if (const QString problem = placeProblem(window, *area, *widget); !problem.isEmpty())
                    problems << views->tabText(view) + ": " + problem;
            }
        }
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
        views->setCurrentIndex(1);
        QApplication::processEvents();
        const QSize live = control<QWidget>(window, "livePicture")->size();
        EXPECT_TRUE(live.width() >= 320 && live.height() >= 240) << live.width() << "x" << live.height();
    }
}

// A tone of 1900 Hz is the brightest column of the waterfall's newest row, at
// 1900 / 3000 of its 512 columns (324.3: column 324); the marks stand at the
// standard tones. Rows fed as fast as they come repaint it at most every 16 ms.
TEST(WaterfallViewTest, ATonesColumnIsBrightestAndItRepaintsAtMostAtTheScreensRate)
{
    WaterfallView view;
    view.resize(512, 200);
    view.show();
    view.listen(44100, WaterfallView::kStandardTopHz);
    std::vector<std::uint8_t> tone(4410);
    int paints = 0;
    struct PaintCounter : QObject {
        int& count;
        explicit PaintCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Paint;
            return false;
        }
    } filter(paints);
    view.installEventFilter(&filter);
    QElapsedTimer clock;
    clock.start();
    for (std::size_t block = 0; clock.elapsed() < 400; ++block) {
        for (std::size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<std::uint8_t>(
                std::lround(128 + 64 * std::sin(2 * M_PI * 1900 * static_cast<double>(block * tone.size() + i) / 44100)));
        view.feed(tone);
        QApplication::processEvents();
    }
    const qint64 elapsed = clock.elapsed();
    QApplication::processEvents();
    EXPECT_LE(paints, elapsed / WaterfallView::kRepaintIntervalMs + 2);
    EXPECT_GE(paints, 5);
    const QImage& rows = view.rows();
    int brightest = 0;
    const auto brightness = [&](int x) { return qRed(rows.pixel(x, 0)) + qGreen(rows.pixel(x, 0)) + qBlue(rows.pixel(x, 0)); };
    for (int x = 0; x < rows.width(); ++x)
        if (brightness(x) > brightness(brightest))
            brightest = x;
    EXPECT_NEAR(brightest, 324, 1);
}
