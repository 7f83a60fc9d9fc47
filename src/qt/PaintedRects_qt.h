#pragma once

#include <QImage>
#include <QRect>

#include <optional>
#include <vector>

#include "notewindow/Geometry.h"

// The painted areas of an image (alpha above 0) as rectangles, rows of equal runs merged: where a note
// shows and takes the mouse.
std::vector<QRect> PaintedRects(const QImage& image);

// The painted areas of a note's image lying at origin in the note, in the note's own pixels.
std::vector<QRect> PaintedRects(const QImage& image, QPoint origin);

// Where a note's image lying at origin takes the mouse: the boxes of its painted lines and words.
std::vector<QRect> HitRects(const QImage& image, QPoint origin);

// Where a note's painted area (at origin in the note) lies on the screen, the note at window.
WindowRect OnScreen(const QRect& painted, const WindowRect& window);
