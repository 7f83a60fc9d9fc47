#include "store/IniFile.h"

#include "store/NoteText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string Unquote(std::string value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

void ParseLine(const std::string& line, std::vector<IniSection>& sections) {
    const std::string trimmed = Trim(line);
    if (!trimmed.empty() && trimmed[0] == '[') {
        const size_t close = trimmed.find(']');
        IniSection section;
        section.name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        sections.push_back(std::move(section));
        return;
    }
    if (sections.empty()) return;
    IniSection& section = sections.back();
    section.lines.push_back(line);
    if (trimmed.empty() || trimmed[0] == ';') return;
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos) return;
    section.entries.push_back({Trim(trimmed.substr(0, equals)), Unquote(Trim(trimmed.substr(equals + 1)))});
}

}  // namespace

std::vector<IniSection> ParseIni(const std::string& text) {
    std::vector<IniSection> sections;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
        ParseLine(text.substr(start, lineEnd - start), sections);
        start = end + 1;
    }
    return sections;
}

const std::string* FindValue(const IniSection& section, const std::string& key) {
    for (const IniSection::Entry& entry : section.entries)
        if (EqualsIgnoringCase(entry.key, key)) return &entry.value;
    return nullptr;
}

void IniWriter::Section(const std::string& name) {
    text_ += '[';
    text_ += name;
    text_ += ']';
    text_ += lineEnd_;
}

void IniWriter::Key(const std::string& key, const std::string& rawValue) {
    // A value cannot span lines: a stray CR or LF would split it and could start a new section.
    std::string value = ReplaceAll(rawValue, "\r\n", kLineBreakMarker);
    value = ReplaceAll(ReplaceAll(value, "\r", kLineBreakMarker), "\n", kLineBreakMarker);
    const bool altered = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                            (value.size() >= 2 && IsQuote(value.front()) &&
                                             value.back() == value.front()));
    text_ += key;
    text_ += '=';
    if (altered) text_ += '"';
    text_ += value;
    if (altered) text_ += '"';
    text_ += lineEnd_;
}

void IniWriter::RawLine(const std::string& line) {
    text_ += line;
    text_ += lineEnd_;
}
