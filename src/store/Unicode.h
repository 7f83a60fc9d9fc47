#pragma once

#include <string>
#include <string_view>

// Conversions between UTF-8 and UTF-16; malformed input becomes U+FFFD instead of being dropped.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
bool IsValidUtf8(std::string_view bytes);

// The settings file's bytes as UTF-8 text. Understood: UTF-16LE and UTF-16BE with a byte-order mark,
// UTF-16 without one where the zero bytes show it, UTF-8 with any number of byte-order marks, UTF-8,
// and the legacy code page (see SettingsEncoding.h). A line that is not valid UTF-8 is read on its own,
// so one stray byte never changes how the rest of the file reads.
std::string DecodeSettingsBytes(std::string bytes);

// At most maxCharacters characters of UTF-8 text, cut at a character boundary.
std::string_view Utf8Prefix(std::string_view text, size_t maxCharacters);
