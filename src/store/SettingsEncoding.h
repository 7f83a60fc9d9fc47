#pragma once

#include <string>
#include <string_view>

// Per platform: what legacy files were written in (the ANSI code page on Windows, GB18030 elsewhere),
// and what the settings file is written in (UTF-16LE with BOM on Windows, UTF-8 elsewhere).
std::string DecodeLegacyCodePage(std::string_view bytes);
std::string EncodeSettingsText(std::string utf8);
// Line ending used when writing the settings file.
const char* SettingsLineEnd();
