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

// Hands a drag that began with a press of the left button at (rootX, rootY) (physical pixels) over to
// the window manager's own move (edge 0) or resize of one edge: 1 top, 3 right, 5 bottom, 7 left, as
// _NET_WM_MOVERESIZE counts them. False where no window manager offers it.
enum class MoveResize : uint32_t { SizeTop = 1, SizeRight = 3, SizeBottom = 5, SizeLeft = 7, Move = 8 };
bool StartWindowManagerDrag(QWidget& window, int rootX, int rootY, MoveResize direction);

}  // namespace x11
