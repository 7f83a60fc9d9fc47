#pragma once

#include <string>

// Conversions between UTF-8 and UTF-16; malformed input becomes U+FFFD instead of being dropped.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);
bool IsValidUtf8(const std::string& bytes);

// The settings file's bytes as UTF-8 text: UTF-16LE with BOM, UTF-8 with or without BOM, and otherwise
// the legacy code page (see SettingsEncoding.h).
std::string DecodeSettingsBytes(const std::string& bytes);
