#include "store/Unicode.h"

#include <algorithm>
#include <optional>

#include "store/SettingsEncoding.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Decodes one code point at bytes[i], advancing i; returns kReplacement for a malformed sequence and then
// advances past the lead byte only.
char32_t DecodeUtf8(std::string_view bytes, size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; min = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; min = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; min = 0x10000; }
    else return kReplacement;
    const size_t start = i;
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
            i = start;
            return kReplacement;
        }
        cp = cp << 6 | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        i = start;
        return kReplacement;
    }
    return cp;
}

// True when the sequence at bytes[i] decoded to a real U+FFFD rather than to an error.
bool IsLiteralReplacement(std::string_view bytes, size_t start) { return bytes.substr(start, 3) == "\xEF\xBF\xBD"; }

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

enum class ByteOrder { Little, Big };

std::string Utf16BytesToUtf8(std::string_view bytes, ByteOrder order) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += order == ByteOrder::Little ? char16_t(first | second << 8) : char16_t(first << 8 | second);
    }
    return Utf16ToUtf8(units);
}

// UTF-16 without a byte-order mark shows itself by its zero bytes: settings text is mostly ASCII, and
// every ASCII character has a zero byte on the same side.
std::optional<ByteOrder> Utf16ByZeroBytes(std::string_view bytes) {
    const size_t sample = std::min<size_t>(bytes.size(), 8192) & ~size_t(1);
    if (sample < 4) return std::nullopt;
    size_t zeroEven = 0, zeroOdd = 0;
    for (size_t i = 0; i < sample; i += 2) {
        zeroEven += bytes[i] == 0;
        zeroOdd += bytes[i + 1] == 0;
    }
    const size_t units = sample / 2;
    if (zeroOdd * 10 >= units * 4 && zeroEven * 20 < units) return ByteOrder::Little;
    if (zeroEven * 10 >= units * 4 && zeroOdd * 20 < units) return ByteOrder::Big;
    return std::nullopt;
}

// A line that is not valid UTF-8: UTF-8 with a few broken bytes keeps its characters (the broken bytes
// become U+FFFD); anything else is text in the legacy code page.
void AppendInvalidLine(std::string& out, std::string_view line) {
    size_t goodMultiByte = 0, broken = 0;
    for (size_t i = 0; i < line.size();) {
        const size_t start = i;
        const char32_t cp = DecodeUtf8(line, i);
        if (cp == kReplacement && !IsLiteralReplacement(line, start)) ++broken;
        else if (cp >= 0x80) ++goodMultiByte;
    }
    if (goodMultiByte > broken) {
        for (size_t i = 0; i < line.size();) AppendUtf8(out, DecodeUtf8(line, i));
    } else {
        out += DecodeLegacyCodePage(line);
    }
}

std::string DecodeLineByLine(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (IsValidUtf8(line)) out += line;
        else AppendInvalidLine(out, line);
        start = end;
    }
    return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
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
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t start = i;
        if (DecodeUtf8(bytes, i) == kReplacement && !IsLiteralReplacement(bytes, start)) return false;
    }
    return true;
}

std::string DecodeSettingsBytes(std::string bytes) {
    std::string_view view(bytes);
    if (view.substr(0, 2) == "\xFF\xFE") return Utf16BytesToUtf8(view.substr(2), ByteOrder::Little);
    if (view.substr(0, 2) == "\xFE\xFF") return Utf16BytesToUtf8(view.substr(2), ByteOrder::Big);
    size_t boms = 0;
    while (view.substr(boms, 3) == kUtf8Bom) boms += 3;  // some tools add a second one
    if (boms == 0) {
        if (const auto order = Utf16ByZeroBytes(view)) return Utf16BytesToUtf8(view, *order);
    }
    if (IsValidUtf8(view.substr(boms))) {
        bytes.erase(0, boms);  // in place: a large file is not copied
        return bytes;
    }
    return DecodeLineByLine(view.substr(boms));
}

std::string_view Utf8Prefix(std::string_view text, size_t maxCharacters) {
    size_t i = 0;
    for (size_t count = 0; i < text.size() && count < maxCharacters; ++count) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text.substr(0, i);
}
