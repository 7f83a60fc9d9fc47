#include <iconv.h>

#include <memory>
#include <string>

#include "store/EncodingGuess.h"
#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// Opened once: a file in the legacy code page is decoded line by line.
iconv_t Gb18030Decoder() {
    static const std::unique_ptr<void, IconvCloser> decoder(iconv_open("UTF-8", "GB18030"));
    return static_cast<iconv_t>(decoder.get());
}

}  // namespace

// Files written by the Windows profile functions on a Chinese system are GBK; GB18030 is its superset.
std::string DecodeLegacyCodePage(std::string_view bytes) {
    const iconv_t cd = Gb18030Decoder();
    if (cd == reinterpret_cast<iconv_t>(-1)) return RepairUtf8(bytes);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    std::string input(bytes);
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
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

bool IsCleanLegacyText(std::string_view bytes) { return IsWellFormedGbk(bytes); }

bool LegacyCodePageIsGbk() { return true; }

std::string EncodeSettingsText(std::string utf8) { return utf8; }

bool SettingsFileIsUtf8() { return true; }

const char* SettingsLineEnd() { return "\n"; }
