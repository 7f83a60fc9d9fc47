#include "store/IniValues.h"

#include <climits>
#include <cstdio>

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
