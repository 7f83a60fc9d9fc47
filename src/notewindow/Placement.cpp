#include "notewindow/Placement.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <limits>

#include "store/NoteRecord.h"

namespace {

// Window systems count in 16 bits somewhere (X11 does); a note never needs more.
constexpr int64_t kMaxCoordinate = 30000;
constexpr int64_t kMaxExtent = 30000;
// A negative stored size means the size of a new note.
constexpr int32_t kDefaultWidth = kNewNoteWidth;
const int32_t kDefaultHeight = DefaultNote().height;

int32_t Clamp(int64_t value, int64_t low, int64_t high) { return int32_t(std::clamp(value, low, high)); }

int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) { return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0)); }

bool ShowsUsablePart(const WindowRect& note, const WindowRect& area) {
    // A note of no width or height still counts as one pixel, so that it can be found.
    const int64_t right = std::max<int64_t>(note.right, int64_t(note.left) + 1);
    const int64_t bottom = std::max<int64_t>(note.bottom, int64_t(note.top) + 1);
    const int64_t needX = std::min<int64_t>(kUsableWidth, right - note.left);
    const int64_t needY = std::min<int64_t>(kUsableHeight, bottom - note.top);
    return Overlap(note.left, right, area.left, area.right) >= needX &&
           Overlap(note.top, bottom, area.top, area.bottom) >= needY;
}

int64_t DistanceSquared(const WindowRect& note, const WindowRect& area) {
    const int64_t cx = (int64_t(note.left) + note.right) / 2;
    const int64_t cy = (int64_t(note.top) + note.bottom) / 2;
    const int64_t dx = cx < area.left ? area.left - cx : cx > area.right ? cx - area.right : 0;
    const int64_t dy = cy < area.top ? area.top - cy : cy > area.bottom ? cy - area.bottom : 0;
    return dx * dx + dy * dy;
}

}  // namespace

double ScaleAt(Point place, const std::vector<Monitor>& monitors) {
    const WindowRect point{place.x, place.y, place.x + 1, place.y + 1};
    const Monitor* nearest = nullptr;
    for (const Monitor& monitor : monitors)
        if (!nearest || DistanceSquared(point, monitor.area) < DistanceSquared(point, nearest->area)) nearest = &monitor;
    return nearest && nearest->scale > 0 ? nearest->scale : 1.0;
}

int32_t Scaled(int32_t stored, double scale) {
    return int32_t(std::clamp<double>(double(std::llround(double(stored) * scale)), double(-kMaxExtent), double(kMaxExtent)));
}

int32_t Unscaled(int32_t shown, double scale) { return int32_t(std::llround(double(shown) / scale)); }

WindowRect SaneRect(int32_t x, int32_t y, int32_t width, int32_t height) {
    const int64_t w = width < 0 ? kDefaultWidth : std::min<int64_t>(width, kMaxExtent);
    const int64_t h = height < 0 ? kDefaultHeight : std::min<int64_t>(height, kMaxExtent);
    const int32_t left = Clamp(x, -kMaxCoordinate, kMaxCoordinate);
    const int32_t top = Clamp(y, -kMaxCoordinate, kMaxCoordinate);
    return {left, top, int32_t(left + w), int32_t(top + h)};
}

WindowRect KeepOnScreen(const WindowRect& note, const std::vector<Monitor>& monitors) {
    if (monitors.empty()) return note;
    WindowRect desktop = monitors.front().area;
    for (const Monitor& monitor : monitors) {
        desktop.left = std::min(desktop.left, monitor.area.left);
        desktop.top = std::min(desktop.top, monitor.area.top);
        desktop.right = std::max(desktop.right, monitor.area.right);
        desktop.bottom = std::max(desktop.bottom, monitor.area.bottom);
    }
    WindowRect rect = note;
    rect.right = rect.left + std::min(note.width(), desktop.width());
    rect.bottom = rect.top + std::min(note.height(), desktop.height());
    for (const Monitor& monitor : monitors)
        if (ShowsUsablePart(rect, monitor.area)) return rect;

    const Monitor* nearest = &monitors.front();
    for (const Monitor& monitor : monitors)
        if (DistanceSquared(rect, monitor.area) < DistanceSquared(rect, nearest->area)) nearest = &monitor;
    const WindowRect& work = nearest->workArea;
    const int32_t left = std::max(work.left, std::min(rect.left, work.right - rect.width()));
    const int32_t top = std::max(work.top, std::min(rect.top, work.bottom - rect.height()));
    return {left, top, left + rect.width(), top + rect.height()};
}

namespace {

bool Intersect(const WindowRect& a, const WindowRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

WindowRect Moved(const WindowRect& rect, Point by) {
    return {rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

// The work area of the monitor the rectangle's middle is on; the whole desktop's extent when it is on none.
WindowRect WorkAreaOf(const WindowRect& rect, const std::vector<Monitor>& monitors) {
    const int32_t x = rect.left + rect.width() / 2, y = rect.top + rect.height() / 2;
    for (const Monitor& monitor : monitors)
        if (x >= monitor.area.left && x < monitor.area.right && y >= monitor.area.top && y < monitor.area.bottom)
            return monitor.workArea;
    return {int32_t(-kMaxCoordinate), int32_t(-kMaxCoordinate), int32_t(kMaxCoordinate), int32_t(kMaxCoordinate)};
}

}  // namespace

Point ClearOf(const WindowRect& text, const std::vector<WindowRect>& taken, const std::vector<Monitor>& monitors) {
    constexpr int32_t kGap = 8;
    constexpr int kTries = 256;
    const WindowRect area = WorkAreaOf(text, monitors);
    Point by{0, 0};
    bool wrapped = false;  // the columns left of the text are tried once those right of it are full
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const WindowRect at = Moved(text, by);
        int32_t below = at.top;  // the lowest bottom of the texts it meets
        for (const WindowRect& other : taken)
            if (Intersect(at, other)) below = std::max(below, other.bottom + kGap);
        if (below == at.top) return by;
        by.y += below - at.top;
        if (Moved(text, by).bottom <= area.bottom) continue;
        by = {by.x + text.width() + kGap, area.top - text.top};  // the next column, from the top
        if (Moved(text, by).right <= area.right) continue;
        if (std::exchange(wrapped, true)) break;
        by.x = area.left - text.left;  // the first column of the work area
    }
    return {0, 0};
}
