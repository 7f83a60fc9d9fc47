#pragma once

#include <string>
#include <string_view>
#include <vector>

// Which face draws a note, on every platform: the note's own face where it is installed; for a Chinese
// face (a Windows one, or a name in Chinese) the Chinese sans-serif faces that stand in for it; then the
// platform's own interface face; then any Chinese face. The renderer takes the first one installed.

bool IsChineseFaceName(std::string_view face);

std::vector<std::string> FaceCandidates(const std::string& face, const std::string& platformFace);

// What a font picker's choice means for a note. The picker opens on the face that draws the note (drawn):
// choosing that one again keeps the note's own face name, which this machine may not have installed.
std::string FaceAfterPicker(const std::string& chosen, const std::string& drawn, const std::string& noteFace);
