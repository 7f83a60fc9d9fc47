#include "notewindow/EdgeBands.h"

#include <algorithm>

#include "notewindow/Geometry.h"

Edge EdgeAt(int32_t x, int32_t y, int32_t width, int32_t height) {
    if (x <= kSideBand) return Edge::Left;
    if (x >= width - kSideBand) return Edge::Right;
    if (y <= kTopBottomBand) return Edge::Top;
    if (y >= height - kTopBottomBand) return Edge::Bottom;
    return Edge::None;
}

SizeCursor CursorAt(int32_t x, int32_t y, int32_t width, int32_t height) {
    switch (EdgeAt(x, y, width, height)) {
        case Edge::Left:
        case Edge::Right: return SizeCursor::WestEast;
        case Edge::Top:
        case Edge::Bottom: return SizeCursor::NorthSouth;
        case Edge::None: break;
    }
    return SizeCursor::Arrow;
}

WindowRect DraggedRect(const WindowRect& start, Edge edge, int32_t dx, int32_t dy) {
    WindowRect rect = start;
    switch (edge) {
        case Edge::None: return {start.left + dx, start.top + dy, start.right + dx, start.bottom + dy};
        case Edge::Left: rect.left = std::min(start.left + dx, start.right - kMinNoteWidth); break;
        case Edge::Right: rect.right = std::max(start.right + dx, start.left + kMinNoteWidth); break;
        case Edge::Top: rect.top = std::min(start.top + dy, start.bottom - kMinNoteHeight); break;
        case Edge::Bottom: rect.bottom = std::max(start.bottom + dy, start.top + kMinNoteHeight); break;
    }
    return rect;
}
