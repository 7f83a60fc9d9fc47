#include <windows.h>

#include <string>

#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

// Legacy files are in the system's ANSI code page, as the profile functions wrote them.
std::string DecodeLegacyCodePage(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::u16string wide(size_t(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t*>(wide.data()),
                        length);
    return Utf16ToUtf8(wide);
}

bool IsCleanLegacyText(std::string_view bytes) {
    return bytes.empty() ||
           MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0) > 0;
}

bool LegacyCodePageIsGbk() {
    const UINT codePage = GetACP();
    return codePage == 936 || codePage == 54936;
}

// UTF-16LE with a byte-order mark: the Windows profile functions read it too.
std::string EncodeSettingsText(std::string utf8) {
    std::u16string wide = Utf8ToUtf16(utf8);
    utf8 = std::string();  // a large file is not held twice
    std::string bytes;
    bytes.reserve(2 + wide.size() * 2);
    bytes = "\xFF\xFE";
    for (char16_t unit : wide) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

const char* SettingsLineEnd() { return "\r\n"; }

bool SettingsFileIsUtf8() { return false; }
