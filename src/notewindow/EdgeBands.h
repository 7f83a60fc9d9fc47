#pragma once

#include <cstdint>

// Pressing within these bands of a note's edges resizes it; anywhere else moves it.
enum class Edge { None, Left, Right, Top, Bottom };
enum class SizeCursor { Arrow, WestEast, NorthSouth };

inline constexpr int32_t kSideBand = 20;
inline constexpr int32_t kTopBottomBand = 10;

// Point relative to the window's top-left corner; bands tested left, right, top, bottom, first wins,
// so in a corner the left or right band decides.
Edge EdgeAt(int32_t x, int32_t y, int32_t width, int32_t height);

// The cursor over that point: west-east over the side bands, north-south over top and bottom.
SizeCursor CursorAt(int32_t x, int32_t y, int32_t width, int32_t height);

// Where a window that started at start ends up when the press that began on edge (Edge::None: a move)
// has travelled dx, dy. A resized window keeps room for its bands.
struct WindowRect;
WindowRect DraggedRect(const WindowRect& start, Edge edge, int32_t dx, int32_t dy);

inline constexpr int32_t kMinNoteWidth = 2 * kSideBand + 1;
inline constexpr int32_t kMinNoteHeight = 2 * kTopBottomBand + 1;
