#include "qt/PaintedRects_qt.h"

#include <algorithm>

#include "notewindow/HitArea.h"

namespace {

// Appends the runs of painted pixels of row y, left to right.
void PaintedRuns(const QRgb* line, int width, int y, std::vector<QRect>& runs) {
    for (int x = 0; x < width;) {
        if (qAlpha(line[x]) == 0) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < width && qAlpha(line[x]) != 0) ++x;
        runs.push_back(QRect(start, y, x - start, 1));
    }
}

}  // namespace

// Both the open rectangles and a row's runs go left to right, so one walk over both pairs them: a run
// equal to an open rectangle grows it, an open rectangle without its run is finished.
std::vector<QRect> PaintedRects(const QImage& image) {
    std::vector<QRect> rects, open, row, next;
    for (int y = 0; y < image.height(); ++y) {
        row.clear();
        PaintedRuns(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(), y, row);
        next.clear();
        size_t above = 0;
        for (const QRect& run : row) {
            while (above < open.size() && open[above].left() < run.left()) rects.push_back(open[above++]);
            if (above < open.size() && open[above].left() == run.left() && open[above].width() == run.width()) {
                next.push_back(open[above++]);
                next.back().setBottom(y);
            } else {
                next.push_back(run);
            }
        }
        rects.insert(rects.end(), open.begin() + std::ptrdiff_t(above), open.end());
        open.swap(next);
    }
    rects.insert(rects.end(), open.begin(), open.end());
    return rects;
}

std::vector<QRect> PaintedRects(const QImage& image, QPoint origin) {
    std::vector<QRect> rects = PaintedRects(image);
    for (QRect& r : rects) r.translate(origin);
    return rects;
}

std::vector<QRect> HitRects(const QImage& image, QPoint origin) {
    const QImage pixels = image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<QRect> rects;
    for (const WindowRect& box : TextHitBoxes(pixels.constBits(), pixels.width(), pixels.height(),
                                              int(pixels.bytesPerLine())))
        rects.push_back(QRect(box.left, box.top, box.width(), box.height()).translated(origin));
    return rects;
}

WindowRect OnScreen(const QRect& painted, const WindowRect& window) {
    const QRect text = painted.translated(window.left, window.top);
    return WindowRect{text.left(), text.top(), text.left() + text.width(), text.top() + text.height()};
}
