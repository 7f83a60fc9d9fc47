#pragma once

#include <string>
#include <string_view>

// The settings file's bytes as UTF-8 text. Understood: UTF-16LE and UTF-16BE with a byte-order mark,
// UTF-16 without one where its line ends, section headers and keys show it, UTF-8 with any number of
// byte-order marks, UTF-8, and the legacy code page. Which of the last two a file is written in is
// decided from all of its lines; a line that is not valid in the file's encoding is read on its own,
// so one stray byte never changes how the rest of the file reads.
std::string DecodeSettingsBytes(std::string bytes);

// What the settings file is written in: UTF-16LE with BOM on Windows, UTF-8 elsewhere.
std::string EncodeSettingsText(std::string utf8);
// Line ending used when writing the settings file.
const char* SettingsLineEnd();
// The first line of a file written in UTF-8 says so: short Chinese text in the legacy code page can
// look like UTF-8, and a comment is what every reader of the format passes over.
inline constexpr std::string_view kUtf8Marker = "; coding: utf-8";
bool IsUtf8MarkerLine(std::string_view line);
// True where the settings file is written in UTF-8: its text then starts with kUtf8Marker.
bool SettingsFileIsUtf8();

// Per platform: the legacy code page that the Windows profile functions write in (the ANSI code
// page on Windows, GB18030 elsewhere).
std::string DecodeLegacyCodePage(std::string_view bytes);
// True when bytes decode in the legacy code page without an error.
bool IsCleanLegacyText(std::string_view bytes);
// True when the legacy code page is GBK or GB18030.
bool LegacyCodePageIsGbk();
