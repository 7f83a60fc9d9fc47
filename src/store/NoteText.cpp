#include "store/NoteText.h"

#include "store/Unicode.h"


std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    size_t pos = text.find(from);
    if (pos == std::string::npos) return text;
    // Built anew in one pass: replacing in place would move the rest of a long text at every match.
    std::string out;
    out.reserve(text.size());
    size_t done = 0;
    for (; pos != std::string::npos; pos = text.find(from, done)) {
        out.append(text, done, pos - done);
        out += to;
        done = pos + from.size();
    }
    out.append(text, done, std::string::npos);
    return out;
}

std::string StoredToText(const std::string& storedText) {
    return ReplaceAll(storedText, kLineBreakMarker, "\n");
}

std::string StoredToListLabel(const std::string& storedText) {
    // A list row shows one line of a few hundred characters; a huge note is not copied whole.
    constexpr size_t kMaxLabelCharacters = 259;
    const std::string_view prefix = Utf8Prefix(storedText, kMaxLabelCharacters * 5);  // room for markers
    std::string label = ReplaceAll(std::string(prefix), kLineBreakMarker, ";");
    return std::string(Utf8Prefix(label, kMaxLabelCharacters));
}
