#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Stored note text holds each line break as this marker; the program's texts (edits, note windows) use
// LF, each front end converting where its controls want otherwise; the note list shows ";".
inline constexpr const char* kLineBreakMarker = "*#33#";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
std::string StoredToText(const std::string& storedText);   // marker -> LF
// marker -> ";", cut to what a list row can show
std::string StoredToListLabel(const std::string& storedText);
