#pragma once

#include <cstdint>
#include <vector>

#include "notewindow/Geometry.h"

// Where notes may go on the desktop, in physical pixels.

// Positions and sizes as a settings file may hold them (any 32-bit value, a negative size meaning the
// default), made into a window rectangle that window systems handle without overflow.
WindowRect SaneRect(int32_t x, int32_t y, int32_t width, int32_t height);

// A note's size and text are stored as they show at 100 %, its place in physical pixels: on a monitor of
// another scale the same note shows at the same apparent size where it was put. The scale of a place is
// its monitor's, or the nearest monitor's; 1 with no monitors known.
double ScaleAt(Point place, const std::vector<Monitor>& monitors);
// A stored size shown at a scale, and a shown size stored, in whole pixels.
int32_t Scaled(int32_t stored, double scale);
int32_t Unscaled(int32_t shown, double scale);

// A note must show at least this much on some monitor to be reachable.
inline constexpr int32_t kUsableWidth = 40;
inline constexpr int32_t kUsableHeight = 20;

// Where a note belongs on these monitors: no larger than the desktop, where it is when a usable part of
// it shows on a monitor, and otherwise moved onto the work area of the nearest monitor. With no monitors
// known the note stays as it is.
WindowRect KeepOnScreen(const WindowRect& note, const std::vector<Monitor>& monitors);

// How far a note must move (from where it is) so that its text, at text on the screen, prints over none of
// taken (the texts of the notes on screen): below what it meets, and where the monitor's work area ends
// there, in the next column to the right, then from the work area's first column on. Nothing to move when
// no such place is found.
Point ClearOf(const WindowRect& text, const std::vector<WindowRect>& taken, const std::vector<Monitor>& monitors);
