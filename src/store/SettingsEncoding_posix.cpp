#include <iconv.h>

#include <string>

#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

// Files written by the Windows profile functions on a Chinese system are GBK; GB18030 is its superset.
std::string DecodeLegacyCodePage(const std::string& bytes) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return Utf16ToUtf8(Utf8ToUtf16(bytes));
    std::string out;
    std::string input = bytes;
    char* in = input.data();
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        if (rc == size_t(-1) && outPtr == buffer && inLeft > 0) {
            out += "\xEF\xBF\xBD";  // undecodable byte: keep a visible mark, go on
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

std::string EncodeSettingsText(const std::string& utf8) { return utf8; }

const char* SettingsLineEnd() { return "\n"; }
