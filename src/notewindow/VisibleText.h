#pragma once

#include <string_view>
#include <vector>

// The part of a note's text that can show in a window of this size, so that a huge note costs no more
// to lay out than what fits: the paragraphs (runs between line breaks, CR LF or LF) that can start above
// the bottom, each cut to as many characters as its lines can hold even at one pixel a character.
std::vector<std::string_view> VisibleParagraphs(std::string_view text, int width, int height, float emSize);
