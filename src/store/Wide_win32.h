#pragma once

#include <string>

#include "store/Unicode.h"

// UTF-8 in the core, UTF-16 at the Win32 calls.
inline std::wstring Widen(const std::string& utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(const std::wstring& wide) {
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
