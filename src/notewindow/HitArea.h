#pragma once

#include <cstdint>
#include <vector>

#include "notewindow/Geometry.h"

// Where a note takes the mouse: the box of each painted line of text (its outline and shadow included),
// split where the line leaves a gap wider than the line is high. A press between the letters of a word or
// the words of a line hits the note; the space between lines and around the text lets it through.
// pixels: 32-bit pixels, alpha in the fourth byte of each (premultiplied BGRA and Qt's ARGB32 alike),
// bytesPerLine apart; the boxes are in the image's pixels.
std::vector<WindowRect> TextHitBoxes(const uint8_t* pixels, int width, int height, int bytesPerLine);
