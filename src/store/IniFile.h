#pragma once

#include <string>
#include <vector>

// A section of an INI file as read: its name, its key=value pairs in file order and its raw lines.
struct IniSection {
    struct Entry {
        std::string key;
        std::string value;
    };
    std::string name;
    std::vector<Entry> entries;
    std::vector<std::string> lines;  // every line after the header, as written
};

// Reads INI text the way the Windows profile functions do: sections in file order (duplicates kept
// apart), names and keys trimmed, values trimmed and stripped of one pair of enclosing quotes, ';'
// lines are comments, lines without '=' are ignored.
std::vector<IniSection> ParseIni(const std::string& text);

// The first value of key in the section (letter case ignored), or nullptr when the key is missing.
const std::string* FindValue(const IniSection& section, const std::string& key);

// Builds INI text; values that the reader would alter (blanks at either end, enclosing quotes, line
// breaks) are written so that they read back as given.
class IniWriter {
public:
    explicit IniWriter(const char* lineEnd) : lineEnd_(lineEnd) {}
    void Section(const std::string& name);
    void Key(const std::string& key, const std::string& value);
    void RawLine(const std::string& line);
    const std::string& Text() const { return text_; }

private:
    const char* lineEnd_;
    std::string text_;
};
