#include "store/IniFile.h"

#include <cstring>

#include "store/NoteText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsBinary(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && !IsBlank(c)) return true;
    return false;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string_view KeyOfLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';') return {};
    const size_t equals = trimmed.find('=');
    return equals == std::string_view::npos ? std::string_view() : Trim(trimmed.substr(0, equals));
}

IniDocument::IniDocument(std::string text) : text_(std::make_unique<const std::string>(std::move(text))) {
    const std::string_view all(*text_);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        std::string_view line = all.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;

        if (sections_.empty() && IsBinary(line)) binary_ = true;
        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && trimmed[0] == '[') {
            const size_t close = trimmed.find(']');
            IniSection section;
            section.name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            section.header = line;
            sections_.push_back(std::move(section));
            continue;
        }
        if (sections_.empty()) {
            preamble_.push_back(line);
            if (!trimmed.empty() && trimmed[0] != ';') blankOutside_ = false;
            continue;
        }
        IniSection& section = sections_.back();
        section.lines.push_back(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        const size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos) continue;
        section.entries.push_back({Trim(trimmed.substr(0, equals)), Unquote(Trim(trimmed.substr(equals + 1)))});
    }
}

IniDocument ParseIni(std::string text) { return IniDocument(std::move(text)); }

std::optional<std::string_view> FindValue(const IniSection& section, std::string_view key) {
    for (const IniSection::Entry& entry : section.entries)
        if (EqualsIgnoringCase(entry.key, key)) return entry.value;
    return std::nullopt;
}

namespace {

// memchr per character sought: find_first_of would search the sought characters once per byte of text.
bool NeedsCleaning(std::string_view value) {
    for (char c : {'\r', '\n', '\0'})
        if (std::memchr(value.data(), c, value.size())) return true;
    return false;
}

void AppendWithoutNul(std::string& out, std::string_view text) {
    for (size_t start = 0; start < text.size();) {
        const size_t nul = text.find('\0', start);
        const size_t end = nul == std::string_view::npos ? text.size() : nul;
        out.append(text, start, end - start);
        start = end + 1;
    }
}

}  // namespace

void IniWriter::Section(std::string_view name) {
    text_ += '[';
    AppendWithoutNul(text_, name);
    text_ += ']';
    text_ += lineEnd_;
}

namespace {

std::string Cleaned(std::string_view value) {
    std::string cleaned;
    AppendWithoutNul(cleaned, value);
    cleaned = ReplaceAll(std::move(cleaned), "\r\n", kLineBreakMarker);
    return ReplaceAll(ReplaceAll(std::move(cleaned), "\r", kLineBreakMarker), "\n", kLineBreakMarker);
}

}  // namespace

// Only a value that needs it is copied: a note may be huge.
std::string WritableValue(std::string value) { return NeedsCleaning(value) ? Cleaned(value) : std::move(value); }

void IniWriter::Key(std::string_view key, std::string_view rawValue) {
    const bool needsCleaning = NeedsCleaning(rawValue);
    const std::string cleaned = needsCleaning ? Cleaned(rawValue) : std::string();
    const std::string_view value = needsCleaning ? std::string_view(cleaned) : rawValue;
    const bool altered = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                            (value.size() >= 2 && IsQuote(value.front()) &&
                                             value.back() == value.front()));
    AppendWithoutNul(text_, key);
    text_ += '=';
    if (altered) text_ += '"';
    text_ += value;
    if (altered) text_ += '"';
    text_ += lineEnd_;
}

void IniWriter::RawLine(std::string_view line) {
    AppendWithoutNul(text_, line);
    text_ += lineEnd_;
}
