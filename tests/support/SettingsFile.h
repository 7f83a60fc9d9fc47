#pragma once

#include <string>

#include "FileHelpers.h"
#include "store/IniFile.h"
#include "store/SettingsEncoding.h"

// A settings file as the tests read it: its sections, and one value ("<no section>", "<missing>" when not there).
inline IniDocument SettingsSections(const std::string& path) { return ParseIni(DecodeSettingsBytes(ReadBytes(path))); }

inline std::string SettingsValue(const std::string& path, size_t section, const char* key) {
    const IniDocument sections = SettingsSections(path);
    if (section >= sections.size()) return "<no section>";
    const auto value = FindValue(sections[section], key);
    return value ? std::string(*value) : "<missing>";
}
