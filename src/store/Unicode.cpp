#include "store/Unicode.h"

#include <cstdint>
#include <cstring>

char32_t NextCodePoint(std::string_view bytes, size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; min = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; min = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; min = 0x10000; }
    else return kInvalidUtf8;
    const size_t start = i;
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
            i = start;
            return kInvalidUtf8;
        }
        cp = cp << 6 | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        i = start;
        return kInvalidUtf8;
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | cp >> 18);
        out += char(0x80 | (cp >> 12 & 0x3F));
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string RepairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const char32_t cp = NextCodePoint(bytes, i);
        AppendUtf8(out, cp == kInvalidUtf8 ? kReplacementCharacter : cp);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = NextCodePoint(utf8, i);
        if (cp == kInvalidUtf8) cp = kReplacementCharacter;
        if (cp >= 0x10000) {
            out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacementCharacter;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

namespace {

// Eight bytes at a time: settings text is mostly ASCII, and a note may be huge.
bool IsAsciiBlock(std::string_view bytes, size_t i) {
    uint64_t block;
    std::memcpy(&block, bytes.data() + i, sizeof block);
    return (block & 0x8080808080808080ull) == 0;
}

}  // namespace

bool IsAscii(std::string_view bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8)
        if (!IsAsciiBlock(bytes, i)) return false;
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    return true;
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        if (i + 8 <= bytes.size() && IsAsciiBlock(bytes, i)) {
            i += 8;
            continue;
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        if (NextCodePoint(bytes, i) == kInvalidUtf8) return false;
    }
    return true;
}

std::string_view Utf8Prefix(std::string_view text, size_t maxCharacters) {
    size_t i = 0;
    for (size_t count = 0; i < text.size() && count < maxCharacters; ++count) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text.substr(0, i);
}
