#pragma once

#include <string>
#include <string_view>

// Conversions between UTF-8 and UTF-16; malformed input becomes U+FFFD instead of being dropped.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
bool IsValidUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
// Decodes the code point at bytes[i] and advances i past it. A malformed sequence gives
// kInvalidUtf8 and advances past its first byte only.
inline constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;
char32_t NextCodePoint(std::string_view bytes, size_t& i);
void AppendUtf8(std::string& out, char32_t cp);
// bytes with every malformed sequence replaced by U+FFFD.
std::string RepairUtf8(std::string_view bytes);

// At most maxCharacters characters of UTF-8 text, cut at a character boundary.
std::string_view Utf8Prefix(std::string_view text, size_t maxCharacters);
