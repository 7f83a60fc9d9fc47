#include "store/NoteSection.h"

#include <array>

#include "store/IniValues.h"
#include "store/NoteText.h"

namespace {

enum NoteKey : int {
    kIsShow, kAutoStart, kPositionX, kPositionY, kWidth, kHeight, kColor, kFont, kFontSize, kDelete, kText,
    kIsTopWin,
    kLocked,  // written only while notes are locked; older readers skip it
    kNoteId,  // the note across writers and renumbered sections; older readers skip it
    kKeyCount
};

// In the order a new section lists them.
constexpr std::array<const char*, kKeyCount> kKeyNames = {
    "isShow", "autoStart", "positionX", "positionY", "width", "height", "color",
    "font",   "fontSize",  "delete",    "text",      "isTopWin", "locked", "noteId"};

int OwnedKey(std::string_view key) {
    for (int k = 0; k < kKeyCount; ++k)
        if (EqualsIgnoringCase(key, kKeyNames[size_t(k)])) return k;
    return KeptLine::kNotOwned;
}

// Reads one key, or its default when the key is missing; an empty value is empty, not missing.
std::string_view ValueOr(const IniSection& section, int key, const char* fallback) {
    const auto value = FindValue(section, kKeyNames[size_t(key)]);
    return value ? *value : std::string_view(fallback);
}

int32_t ReadNumber(const IniSection& s, int key, int32_t fallback) {
    const auto value = FindValue(s, kKeyNames[size_t(key)]);
    return value ? ParseInt(*value) : fallback;
}
bool ReadFlag(const IniSection& s, int key, bool fallback) { return ReadNumber(s, key, fallback) != 0; }
// As a save writes it: a lone CR inside a value is a line break there too.
std::string ReadText(const IniSection& s, int key, const char* fallback) {
    return WritableValue(std::string(ValueOr(s, key, fallback)));
}

std::string Number(int32_t value) { return std::to_string(value); }
const char* Flag(bool value) { return value ? "1" : "0"; }

// Writes the line of one key; the lock flag has a line only while notes are locked.
void WriteKey(IniWriter& out, int key, const NoteRecord& note, const SharedFlags& flags) {
    const char* name = kKeyNames[size_t(key)];
    switch (key) {
        case kIsShow: out.Key(name, Flag(note.isShow)); break;
        case kAutoStart: out.Key(name, Flag(flags.autoStart)); break;
        case kPositionX: out.Key(name, Number(note.positionX)); break;
        case kPositionY: out.Key(name, Number(note.positionY)); break;
        case kWidth: out.Key(name, Number(note.width)); break;
        case kHeight: out.Key(name, Number(note.height)); break;
        case kColor: out.Key(name, FormatColor(note.color)); break;
        case kFont: out.Key(name, note.font); break;
        case kFontSize: out.Key(name, Number(note.fontSize)); break;
        case kDelete: out.Key(name, Flag(note.isDelete)); break;
        case kText: out.Key(name, note.text); break;
        case kIsTopWin: out.Key(name, Flag(note.isTopWin)); break;
        case kLocked:
            if (flags.locked) out.Key(name, "1");
            break;
        case kNoteId:
            if (HasOwnIdentity(note)) out.Key(name, note.identity);
            break;
        default: break;
    }
}

bool IsKeyLine(const KeptLine& line) { return line.owned != KeptLine::kNotOwned || !KeyOfLine(line.text).empty(); }

bool IsProgramSectionName(std::string_view name) {
    constexpr std::string_view kPrefix = "Text_";
    if (name.size() <= kPrefix.size() || !EqualsIgnoringCase(name.substr(0, kPrefix.size()), kPrefix)) return false;
    for (char c : name.substr(kPrefix.size()))
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

bool IsNoteSection(const IniSection& section) {
    if (IsProgramSectionName(section.name)) return true;
    for (int key : {kText, kIsShow, kPositionX, kPositionY, kFontSize, kIsTopWin})
        if (FindValue(section, kKeyNames[size_t(key)])) return true;
    return false;
}

bool IsMarkedDeleted(const IniSection& section) { return ReadFlag(section, kDelete, false); }

NoteRecord ReadNote(const IniSection& s) {
    NoteRecord note = DefaultNote();
    note.isShow = ReadFlag(s, kIsShow, note.isShow);
    note.autoStart = ReadFlag(s, kAutoStart, note.autoStart);
    note.positionX = ReadNumber(s, kPositionX, note.positionX);
    note.positionY = ReadNumber(s, kPositionY, note.positionY);
    note.width = ReadNumber(s, kWidth, note.width);
    note.height = ReadNumber(s, kHeight, note.height);
    if (const auto color = FindValue(s, kKeyNames[kColor])) note.color = ParseColor(*color);
    note.font = ReadText(s, kFont, note.font.c_str());
    note.fontSize = ReadNumber(s, kFontSize, note.fontSize);
    note.isDelete = ReadFlag(s, kDelete, note.isDelete);
    note.text = ReadText(s, kText, "");
    note.isTopWin = ReadFlag(s, kIsTopWin, note.isTopWin);
    note.identity = std::string(ValueOr(s, kNoteId, ""));
    return note;
}

SharedFlags ReadSharedFlags(const IniSection& section) {
    return {ReadFlag(section, kAutoStart, false), ReadFlag(section, kLocked, false)};
}

std::vector<KeptLine> KeepNoteLines(const IniSection& section) {
    std::vector<KeptLine> lines;
    lines.reserve(section.lines.size());
    std::array<bool, kKeyCount> seen{};
    for (std::string_view line : section.lines) {
        const int key = OwnedKey(KeyOfLine(line));
        // The first line of a key is the one every reader takes; a later one is not the program's, but
        // for the lock flag, which goes away with every line of it when notes are unlocked.
        if (key != KeptLine::kNotOwned && (!seen[size_t(key)] || key == kLocked)) {
            seen[size_t(key)] = true;
            lines.push_back({{}, key});
        } else {
            lines.push_back({std::string(line), KeptLine::kNotOwned});
        }
    }
    return lines;
}

std::vector<KeptLine> KeepAllLines(const IniSection& section) {
    std::vector<KeptLine> lines;
    lines.reserve(section.lines.size());
    for (std::string_view line : section.lines) lines.push_back({std::string(line), KeptLine::kNotOwned});
    return lines;
}

void WriteNoteSection(IniWriter& out, const std::string& name, const NoteRecord& note,
                      const std::vector<KeptLine>& lines, const SharedFlags& flags) {
    out.Section(name);
    // Keys the section lacks go after its last key line, before the blank lines and comments that end it.
    size_t insertAt = lines.size();
    while (insertAt > 0 && !IsKeyLine(lines[insertAt - 1])) --insertAt;
    std::array<bool, kKeyCount> inSection{};
    for (const KeptLine& line : lines)
        if (line.owned != KeptLine::kNotOwned) inSection[size_t(line.owned)] = true;
    std::array<bool, kKeyCount> written{};
    const auto writeOnce = [&](int key) {
        if (written[size_t(key)]) return;
        written[size_t(key)] = true;
        WriteKey(out, key, note, flags);
    };
    for (size_t i = 0; i <= lines.size(); ++i) {
        if (i == insertAt) {
            for (int key = 0; key < kKeyCount; ++key)
                if (!inSection[size_t(key)]) writeOnce(key);
        }
        if (i == lines.size()) break;
        if (lines[i].owned == KeptLine::kNotOwned) out.RawLine(lines[i].text);
        else writeOnce(lines[i].owned);
    }
}

void WriteKeptSection(IniWriter& out, const FileSection& section, const SharedFlags& flags) {
    out.RawLine(section.header);
    if (section.kind != FileSection::Kind::Overflow) {
        for (const KeptLine& line : section.lines) out.RawLine(line.text);
        return;
    }
    std::array<bool, kKeyCount> written{};
    NoteRecord none;
    for (const KeptLine& line : section.lines) {
        const int key = OwnedKey(KeyOfLine(line.text));
        if (key == kAutoStart || key == kLocked) {
            if (!written[size_t(key)]) WriteKey(out, key, none, flags);
            written[size_t(key)] = true;
        } else {
            out.RawLine(line.text);
        }
    }
    for (int key : {kAutoStart, kLocked})
        if (!written[size_t(key)]) WriteKey(out, key, none, flags);
}
