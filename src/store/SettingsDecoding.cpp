#include <algorithm>
#include <optional>

#include "store/EncodingGuess.h"
#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class ByteOrder { Little, Big };

std::string Utf16BytesToUtf8(std::string_view bytes, ByteOrder order) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += order == ByteOrder::Little ? char16_t(first | second << 8) : char16_t(first << 8 | second);
    }
    return Utf16ToUtf8(units);
}

bool IsStructural(char c) { return c == '[' || c == ']' || c == '=' || c == '\n'; }

// UTF-16 without a byte-order mark shows itself by its structure: section brackets, equals signs and
// line ends are ASCII, so each has a zero byte on the same side, whatever language the notes are in.
// Text in any 8-bit encoding holds no zero bytes at all.
std::optional<ByteOrder> Utf16ByStructure(std::string_view bytes) {
    const size_t sample = std::min<size_t>(bytes.size(), 1 << 20) & ~size_t(1);
    size_t little = 0, big = 0;
    for (size_t i = 0; i < sample; i += 2) {
        little += bytes[i + 1] == 0 && IsStructural(bytes[i]);
        big += bytes[i] == 0 && IsStructural(bytes[i + 1]);
    }
    if (little >= 2 && little > 4 * big) return ByteOrder::Little;
    if (big >= 2 && big > 4 * little) return ByteOrder::Big;
    return std::nullopt;
}

enum class Encoding { Utf8, Legacy };

// Without a mark, all of the file's lines together decide: GBK whose short lines are valid UTF-8 by
// chance reads as GBK, a UTF-8 file with a stray byte as UTF-8.
Encoding ChooseEncoding(std::string_view text, bool validUtf8) {
    if (!LegacyCodePageIsGbk()) return Encoding::Utf8;  // its lines that are not UTF-8 are read on their own
    const EncodingScores scores = ScoreUtf8AgainstGbk(text);
    const bool legacy = validUtf8 ? scores.gbk > scores.utf8 : scores.gbk >= scores.utf8;
    return legacy ? Encoding::Legacy : Encoding::Utf8;
}

// A line that is not valid in the file's encoding is read in the other one where it is valid there.
bool ReadLineAsLegacy(std::string_view line, Encoding file) {
    if (file == Encoding::Legacy) return IsCleanLegacyText(line) || !IsValidUtf8(line);
    if (IsValidUtf8(line) || !IsCleanLegacyText(line)) return false;
    const Utf8Evidence evidence = CountUtf8Evidence(line);
    return evidence.wideCharacters < evidence.brokenRuns;
}

// Lines are decoded in runs of the same encoding: a large legacy file is not decoded line by line.
std::string DecodeByLines(std::string_view text, Encoding file) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    size_t runStart = 0;
    bool runIsLegacy = false;
    const auto flush = [&](size_t end) {
        const std::string_view run = text.substr(runStart, end - runStart);
        if (runIsLegacy) out += DecodeLegacyCodePage(run);
        else out += RepairUtf8(run);
        runStart = end;
    };
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(start, end - start);
        if (!IsAscii(line)) {
            const bool legacy = ReadLineAsLegacy(line, file);
            if (legacy != runIsLegacy) {
                flush(start);
                runIsLegacy = legacy;
            }
        }
        start = end;
    }
    flush(text.size());
    return out;
}

}  // namespace

bool IsUtf8MarkerLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line == kUtf8Marker;
}

std::string DecodeSettingsBytes(std::string bytes) {
    const std::string_view view(bytes);
    if (view.substr(0, 2) == "\xFF\xFE") return Utf16BytesToUtf8(view.substr(2), ByteOrder::Little);
    if (view.substr(0, 2) == "\xFE\xFF") return Utf16BytesToUtf8(view.substr(2), ByteOrder::Big);
    size_t boms = 0;
    while (view.substr(boms, 3) == kUtf8Bom) boms += 3;  // some tools add a second one
    if (boms == 0) {
        if (const auto order = Utf16ByStructure(view)) return Utf16BytesToUtf8(view, *order);
    }
    const std::string_view text = view.substr(boms);
    const bool validUtf8 = IsValidUtf8(text);
    const bool markedUtf8 = boms > 0 || IsUtf8MarkerLine(text.substr(0, text.find('\n')));
    const Encoding encoding = markedUtf8 || IsAscii(text) ? Encoding::Utf8 : ChooseEncoding(text, validUtf8);
    if (encoding == Encoding::Utf8 && validUtf8) {
        bytes.erase(0, boms);  // in place: a large file is not copied
        return bytes;
    }
    return DecodeByLines(text, encoding);
}
