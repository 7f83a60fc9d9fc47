#pragma once

#include <cstdint>

// Places on the screen, in physical pixels.

// A point on the screen or in a window.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// A note window's place on the screen.
struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool operator==(const WindowRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const WindowRect& o) const { return !(*this == o); }
};

// A monitor: all of it, the part that task bars and docks leave free, and its display scale (1 at 100 %).
struct Monitor {
    WindowRect area;
    WindowRect workArea;
    double scale = 1.0;
};
