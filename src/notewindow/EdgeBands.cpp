#include "EdgeBands.h"

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
