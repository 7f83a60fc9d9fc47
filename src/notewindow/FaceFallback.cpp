#include "notewindow/FaceFallback.h"

#include <algorithm>

#include "notewindow/NoteStyle.h"
#include "store/IniFile.h"

namespace {

// A character from U+2E80 on, where the CJK scripts begin: its UTF-8 form starts E2 BA or above.
bool HasCjkCharacter(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xE3 && lead <= 0xEF) return true;
        if (lead == 0xE2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0xBA) return true;
    }
    return false;
}

}  // namespace

bool IsChineseFaceName(std::string_view face) {
    if (HasCjkCharacter(face)) return true;
    return std::any_of(std::begin(style::kWindowsChineseFaces), std::end(style::kWindowsChineseFaces),
                       [&](const char* windowsFace) { return EqualsIgnoringCase(face, windowsFace); });
}

std::vector<std::string> FaceCandidates(const std::string& face, const std::string& platformFace) {
    std::vector<std::string> candidates;
    auto add = [&](const std::string& candidate) {
        if (candidate.empty()) return;
        for (const std::string& known : candidates)
            if (EqualsIgnoringCase(known, candidate)) return;
        candidates.push_back(candidate);
    };
    add(face);
    const bool chinese = IsChineseFaceName(face);
    if (chinese)
        for (const char* standIn : style::kChineseFallbackFaces) add(standIn);
    add(platformFace);
    for (const char* standIn : style::kChineseFallbackFaces) add(standIn);
    return candidates;
}

std::string FaceAfterPicker(const std::string& chosen, const std::string& drawn, const std::string& noteFace) {
    return chosen == drawn ? noteFace : chosen;
}
