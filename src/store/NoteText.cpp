#include "store/NoteText.h"

#include "store/Unicode.h"

#include <climits>
#include <cstdio>

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

std::string TextToStored(const std::string& editText) {
    return ReplaceAll(editText, "\r\n", kLineBreakMarker);
}

std::string StoredToText(const std::string& storedText) {
    return ReplaceAll(storedText, kLineBreakMarker, "\r\n");
}

std::string StoredToListLabel(const std::string& storedText) {
    // A list row shows one line of a few hundred characters; a huge note is not copied whole.
    constexpr size_t kMaxLabelCharacters = 259;
    const std::string_view prefix = Utf8Prefix(storedText, kMaxLabelCharacters * 5);  // room for markers
    std::string label = ReplaceAll(std::string(prefix), kLineBreakMarker, ";");
    return std::string(Utf8Prefix(label, kMaxLabelCharacters));
}

int32_t ParseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT_MAX) + 1) value = int64_t(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int32_t(value);
}

std::string FormatColor(uint32_t color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d", int((color >> 16) & 0xFF), int((color >> 8) & 0xFF),
                  int(color & 0xFF));
    return buffer;
}

uint32_t ParseColor(std::string_view text) {
    int parts[3] = {0, 0, 0};
    size_t start = 0;
    for (int field = 0; field < 3 && start <= text.size(); ++field) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) comma = text.size();
        parts[field] = ParseInt(text.substr(start, comma - start));
        start = comma + 1;
    }
    return OpaqueColor(parts[0], parts[1], parts[2]);
}

uint32_t OpaqueColor(int red, int green, int blue) {
    return 0xFF000000u | (uint32_t(red) & 0xFF) << 16 | (uint32_t(green) & 0xFF) << 8 | (uint32_t(blue) & 0xFF);
}
