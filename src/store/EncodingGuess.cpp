#include "store/EncodingGuess.h"

#include <cstdlib>

#include "store/Unicode.h"

namespace {

// ---- GBK

enum class GbkKind { Ascii, Level1, Level2, Symbol, Extension, UserDefined, FourByte, Invalid };

bool InRange(unsigned value, unsigned low, unsigned high) { return value >= low && value <= high; }

GbkKind NextGbk(std::string_view bytes, size_t& i) {
    const auto byte = [&](size_t k) { return unsigned(static_cast<unsigned char>(bytes[k])); };
    const unsigned lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return GbkKind::Ascii;
    }
    if (!InRange(lead, 0x81, 0xFE) || i + 1 >= bytes.size()) {
        ++i;
        return GbkKind::Invalid;
    }
    const unsigned trail = byte(i + 1);
    if (InRange(trail, 0x30, 0x39)) {  // GB18030's four-byte form
        if (i + 3 < bytes.size() && InRange(byte(i + 2), 0x81, 0xFE) && InRange(byte(i + 3), 0x30, 0x39)) {
            i += 4;
            return GbkKind::FourByte;
        }
        ++i;
        return GbkKind::Invalid;
    }
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
        ++i;
        return GbkKind::Invalid;
    }
    i += 2;
    if (InRange(lead, 0x81, 0xA0)) return GbkKind::Extension;
    const bool gb2312Trail = trail >= 0xA1;
    if (gb2312Trail && InRange(lead, 0xB0, 0xD7)) return lead == 0xD7 && trail > 0xF9 ? GbkKind::UserDefined
                                                                                      : GbkKind::Level1;
    if (gb2312Trail && InRange(lead, 0xD8, 0xF7)) return GbkKind::Level2;
    if (gb2312Trail && InRange(lead, 0xA1, 0xA9)) return GbkKind::Symbol;
    if (gb2312Trail || InRange(lead, 0xA1, 0xA7)) return GbkKind::UserDefined;
    return GbkKind::Extension;
}

int GbkWeight(GbkKind kind) {
    switch (kind) {
        case GbkKind::Ascii: return 0;
        case GbkKind::Level1: return 3;       // the 3,755 common hanzi
        case GbkKind::Level2: return 2;
        case GbkKind::Symbol: return 2;       // full-width punctuation, kana, Greek, Cyrillic, pinyin
        case GbkKind::Extension: return 0;    // rare and traditional hanzi
        case GbkKind::UserDefined: return -4;
        case GbkKind::FourByte: return -2;
        case GbkKind::Invalid: return -8;
    }
    return 0;
}

long ScoreGbk(std::string_view bytes) {
    long score = 0;
    for (size_t i = 0; i < bytes.size();) score += GbkWeight(NextGbk(bytes, i));
    return score;
}

// ---- UTF-8

enum class CharClass { AsciiLetter, AsciiDigit, AsciiBlank, AsciiOther, Other };

CharClass ClassOf(char32_t cp) {
    if ((cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z')) return CharClass::AsciiLetter;
    if (cp >= '0' && cp <= '9') return CharClass::AsciiDigit;
    if (cp == ' ' || cp == '\t') return CharClass::AsciiBlank;
    if (cp < 0x80) return CharClass::AsciiOther;
    return CharClass::Other;
}

// The alphabet of a letter of the two-byte range that whole words are written in; 0 for none.
int ScriptOf(char32_t cp) {
    if (cp >= 0x386 && cp <= 0x3CE && cp != 0x387 && cp != 0x3A2) return 1;   // Greek
    if (cp >= 0x400 && cp <= 0x45F) return 2;                                 // Cyrillic
    if ((cp >= 0x531 && cp <= 0x556) || (cp >= 0x561 && cp <= 0x587)) return 3;  // Armenian
    if (cp >= 0x5D0 && cp <= 0x5EA) return 4;                                 // Hebrew
    if (cp >= 0x620 && cp <= 0x64A) return 5;                                 // Arabic
    return 0;
}

bool IsLatinLetter(char32_t cp) { return cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7; }
bool IsLatin1Symbol(char32_t cp) { return (cp >= 0xA0 && cp <= 0xBF) || cp == 0xD7 || cp == 0xF7; }

// A character of the two-byte range in its neighbours' company: accented letters sit in words of
// Latin letters, Greek or Cyrillic letters beside letters of their own alphabet. GBK read as UTF-8
// gives them alone, or gives combining marks, phonetic and modifier letters instead.
int Utf8Weight(char32_t previous, char32_t cp, char32_t next) {
    if (cp == kInvalidUtf8) return -8;
    if (cp < 0x80) return 0;
    if (cp >= 0x800) return 4;
    if (cp < 0xA0) return -8;  // C1 control characters
    const auto beside = [&](auto test) { return test(previous) || test(next); };
    if (IsLatinLetter(cp))
        return beside([](char32_t c) { return ClassOf(c) == CharClass::AsciiLetter; }) ? 4 : -1;
    if (IsLatin1Symbol(cp)) {
        if (beside([](char32_t c) { return ClassOf(c) == CharClass::AsciiDigit; })) return 3;  // 25°C, £5
        return beside([](char32_t c) {
                   const CharClass k = ClassOf(c);
                   return k == CharClass::AsciiLetter || k == CharClass::AsciiBlank;
               }) ? 1 : -1;
    }
    if (const int script = ScriptOf(cp)) return beside([&](char32_t c) { return ScriptOf(c) == script; }) ? 2 : -1;
    return -2;
}

long ScoreUtf8(std::string_view bytes) {
    long score = 0;
    char32_t previous = '\n';
    char32_t current = '\n';
    bool started = false;
    for (size_t i = 0; i < bytes.size();) {
        const char32_t next = NextCodePoint(bytes, i);
        if (started) score += Utf8Weight(previous, current, next);
        previous = current;
        current = next;
        started = true;
    }
    if (started) score += Utf8Weight(previous, current, '\n');
    return score;
}

// The part of bytes up to the last line end within limit bytes, or all of it.
std::string_view LeadingLines(std::string_view bytes, size_t limit) {
    if (bytes.size() <= limit) return bytes;
    const size_t end = bytes.rfind('\n', limit);
    return end == std::string_view::npos ? bytes : bytes.substr(0, end + 1);
}

}  // namespace

EncodingScores ScoreUtf8AgainstGbk(std::string_view bytes) {
    constexpr size_t kLeadingBytes = 256 * 1024;
    constexpr long kClearLead = 400;
    const std::string_view leading = LeadingLines(bytes, kLeadingBytes);
    EncodingScores scores{ScoreUtf8(leading), ScoreGbk(leading)};
    if (leading.size() == bytes.size() || std::labs(scores.utf8 - scores.gbk) >= kClearLead) return scores;
    return {ScoreUtf8(bytes), ScoreGbk(bytes)};
}

bool IsWellFormedGbk(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();)
        if (NextGbk(bytes, i) == GbkKind::Invalid) return false;
    return true;
}

Utf8Evidence CountUtf8Evidence(std::string_view bytes) {
    Utf8Evidence evidence;
    bool inBrokenRun = false;
    for (size_t i = 0; i < bytes.size();) {
        const char32_t cp = NextCodePoint(bytes, i);
        const bool broken = cp == kInvalidUtf8;
        if (broken && !inBrokenRun) ++evidence.brokenRuns;
        if (!broken && cp >= 0x800) ++evidence.wideCharacters;
        inBrokenRun = broken;
    }
    return evidence;
}
