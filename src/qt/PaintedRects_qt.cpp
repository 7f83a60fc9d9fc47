#include "qt/PaintedRects_qt.h"

#include <algorithm>

#include "notewindow/HitArea.h"

std::vector<QRect> PaintedRects(const QImage& image) {
    const QRect area = image.rect();
    std::vector<QRect> rects;
    std::vector<QRect> previousRow;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::vector<QRect> row;
        for (int x = area.left(); x <= area.right();) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= area.right() && qAlpha(line[x]) != 0) ++x;
            row.push_back(QRect(start, y, x - start, 1));
        }
        // A run equal to one in the row above grows that rectangle instead of adding one.
        std::vector<QRect> open;
        for (QRect& run : row) {
            auto above = std::find_if(previousRow.begin(), previousRow.end(), [&](const QRect& r) {
                return r.left() == run.left() && r.width() == run.width() && r.bottom() == y - 1;
            });
            if (above != previousRow.end()) {
                above->setBottom(y);
                open.push_back(*above);
                above->setWidth(0);  // taken
            } else {
                open.push_back(run);
            }
        }
        for (const QRect& r : previousRow)
            if (r.width() > 0) rects.push_back(r);
        previousRow = std::move(open);
    }
    rects.insert(rects.end(), previousRow.begin(), previousRow.end());
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
