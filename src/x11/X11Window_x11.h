#pragma once

#include <QImage>
#include <QRect>

#include <vector>

class QWidget;

// X11 details the note windows need and Qt does not offer.
namespace x11 {

// True when a compositing manager runs, so per-pixel alpha shows. Asks the X server at most once a
// second.
bool CompositingActive();

// The painted areas of an image (alpha above 0) as rectangles, rows of equal runs merged.
std::vector<QRect> PaintedRects(const QImage& image);

// Where the window takes the mouse, and where it shows at all without a compositing manager.
void SetInputShape(QWidget& window, const std::vector<QRect>& rects);
void SetBoundingShape(QWidget& window, const std::vector<QRect>& rects);

// Keeps the window out of the task bar and the pager.
void SkipTaskbarAndPager(QWidget& window);

}  // namespace x11
