#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers and colours as the settings file's values hold them.

// The C runtime's _wtoi: blanks skipped, an optional sign, digits up to the first non-digit, 0 without
// digits. Values beyond 32 bits saturate instead of wrapping.
int32_t ParseInt(std::string_view text);

// "R,G,B" of an ARGB colour; alpha is not stored.
std::string FormatColor(uint32_t color);
// Three comma-separated fields, each read with ParseInt and cut to 8 bits; always opaque.
uint32_t ParseColor(std::string_view text);
// A red, green, blue triple from a picker as an opaque ARGB colour.
uint32_t OpaqueColor(int red, int green, int blue);
