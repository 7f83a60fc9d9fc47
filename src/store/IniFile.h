#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A section of an INI file as read: its name, its key=value pairs in file order and its raw lines. The
// views point into the text of the IniDocument the section belongs to.
struct IniSection {
    struct Entry {
        std::string_view key;
        std::string_view value;
    };
    std::string_view name;
    std::string_view header;  // the header line as written
    std::vector<Entry> entries;
    std::vector<std::string_view> lines;  // every line after the header, as written
};

// INI text read the way the Windows profile functions read it: sections in file order (duplicates kept
// apart), names and keys trimmed, values trimmed and stripped of one pair of enclosing quotes, ';' lines
// are comments, lines without '=' are ignored. The document owns the text; nothing is copied per line.
class IniDocument {
public:
    explicit IniDocument(std::string text);

    const std::vector<IniSection>& Sections() const { return sections_; }
    // The lines before the first section, as written.
    const std::vector<std::string_view>& Preamble() const { return preamble_; }
    size_t size() const { return sections_.size(); }
    bool empty() const { return sections_.empty(); }
    const IniSection& operator[](size_t i) const { return sections_[i]; }
    const IniSection& at(size_t i) const { return sections_.at(i); }
    const IniSection& back() const { return sections_.back(); }
    std::vector<IniSection>::const_iterator begin() const { return sections_.begin(); }
    std::vector<IniSection>::const_iterator end() const { return sections_.end(); }
    // True when the text holds nothing but blanks and comments outside any section.
    bool BlankOutsideSections() const { return blankOutside_; }
    // True when the text before the first section holds characters no settings file has: NUL and
    // other control characters.
    bool HasBinaryCharacters() const { return binary_; }

private:
    std::unique_ptr<const std::string> text_;  // on the heap, so that moving the document keeps the views valid
    std::vector<std::string_view> preamble_;
    std::vector<IniSection> sections_;
    bool blankOutside_ = true;
    bool binary_ = false;
};

IniDocument ParseIni(std::string text);

// The first value of key in the section (letter case ignored), or nothing when the key is missing.
std::optional<std::string_view> FindValue(const IniSection& section, std::string_view key);

// Letter case ignored, as the profile functions compare names and keys.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// The key of a "key=value" line, trimmed, or "" when the line has no '=' or is a comment.
std::string_view KeyOfLine(std::string_view line);

// What a value becomes in the file: a line break (CR LF, CR or LF) cannot be part of a value, so it is
// held as the line-break marker; NUL characters, which no reader of the format keeps, are left out.
std::string WritableValue(std::string value);

// Builds INI text; values go in as WritableValue makes them, and those that the reader would alter
// (blanks at either end, enclosing quotes) are written so that they read back as given.
class IniWriter {
public:
    explicit IniWriter(const char* lineEnd) : lineEnd_(lineEnd) {}
    void Section(std::string_view name);
    void Key(std::string_view key, std::string_view value);
    void RawLine(std::string_view line);
    void Reserve(size_t bytes) { text_.reserve(bytes); }
    const std::string& Text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    const char* lineEnd_;
    std::string text_;
};
