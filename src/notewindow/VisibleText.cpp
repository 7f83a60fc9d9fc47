#include "notewindow/VisibleText.h"

#include <algorithm>

#include "store/Unicode.h"

namespace {

// No font sets its lines closer than half its em size.
constexpr float kMinLineHeightPerEm = 0.5f;

}  // namespace

std::vector<std::string_view> VisibleParagraphs(std::string_view text, int width, int height, float emSize) {
    std::vector<std::string_view> paragraphs;
    if (width <= 0 || height <= 0) return paragraphs;
    const float lineHeight = std::max(1.0f, emSize * kMinLineHeightPerEm);
    const size_t lines = size_t(float(height) / lineHeight) + 1;
    const size_t charactersPerParagraph = lines * (size_t(width) + 1);
    size_t start = 0;
    while (paragraphs.size() < lines) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        paragraphs.push_back(Utf8Prefix(paragraph, charactersPerParagraph));
        if (last) break;
        start = end + 1;
    }
    return paragraphs;
}
