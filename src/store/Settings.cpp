#include "store/Settings.h"

#include "store/IniFile.h"
#include "store/NoteText.h"
#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

namespace {

constexpr const char* kAutoStartKey = "autoStart";
constexpr const char* kLockedKey = "locked";  // written only while notes are locked; older readers skip it

std::string Number(int32_t value) { return std::to_string(value); }
std::string Flag(bool value) { return value ? "1" : "0"; }

// Reads one key, or its default when the key is missing; an empty value is empty, not missing.
std::string_view ValueOr(const IniSection& section, const char* key, const char* fallback) {
    const auto value = FindValue(section, key);
    return value ? *value : std::string_view(fallback);
}

std::string Value(const IniSection& s, const char* key, const char* fallback) {
    return std::string(ValueOr(s, key, fallback));
}

bool ReadFlag(const IniSection& s, const char* key, const char* fallback) {
    return ParseInt(ValueOr(s, key, fallback)) != 0;
}

int32_t ReadNumber(const IniSection& s, const char* key, const char* fallback) {
    return ParseInt(ValueOr(s, key, fallback));
}

NoteRecord ReadNote(const IniSection& s) {
    NoteRecord note;
    note.isShow = ReadFlag(s, "isShow", "1");
    note.autoStart = ReadFlag(s, kAutoStartKey, "0");
    note.positionX = ReadNumber(s, "positionX", "500");
    note.positionY = ReadNumber(s, "positionY", "500");
    note.width = ReadNumber(s, "width", "800");
    note.height = ReadNumber(s, "height", "500");
    note.color = ParseColor(Value(s, "color", "255,0,0"));
    note.font = Value(s, "font", kDefaultFontFace);
    note.fontSize = ReadNumber(s, "fontSize", "380");
    note.isDelete = ReadFlag(s, "delete", "0");
    note.text = Value(s, "text", "");
    note.isTopWin = ReadFlag(s, "isTopWin", "1");
    return note;
}

void WriteNote(IniWriter& out, const std::string& name, const NoteRecord& note, const NoteState& flags) {
    out.Section(name);
    out.Key("isShow", Flag(note.isShow));
    out.Key(kAutoStartKey, Flag(flags.m_autoStart));
    out.Key("positionX", Number(note.positionX));
    out.Key("positionY", Number(note.positionY));
    out.Key("width", Number(note.width));
    out.Key("height", Number(note.height));
    out.Key("color", FormatColor(note.color));
    out.Key("font", note.font);
    out.Key("fontSize", Number(note.fontSize));
    out.Key("delete", Flag(note.isDelete));
    out.Key("text", note.text);
    out.Key("isTopWin", Flag(note.isTopWin));
    if (flags.m_locked) out.Key(kLockedKey, "1");
}

// A section kept aside goes back as it was, but with the program-wide flags of this run, so that every
// section of the file agrees on them whichever one a later load reads them from.
void WriteRawSection(IniWriter& out, const RawSection& section, const NoteState& flags) {
    out.Section(section.name);
    bool wroteAutoStart = false;
    bool wroteLocked = false;
    for (const std::string& line : section.lines) {
        const std::string_view key = KeyOfLine(line);
        if (EqualsIgnoringCase(key, kAutoStartKey)) {
            if (!wroteAutoStart) out.Key(kAutoStartKey, Flag(flags.m_autoStart));
            wroteAutoStart = true;
        } else if (EqualsIgnoringCase(key, kLockedKey)) {
            if (!wroteLocked && flags.m_locked) out.Key(kLockedKey, "1");
            wroteLocked = true;
        } else {
            out.RawLine(line);
        }
    }
    if (!wroteAutoStart) out.Key(kAutoStartKey, Flag(flags.m_autoStart));
    if (!wroteLocked && flags.m_locked) out.Key(kLockedKey, "1");
}

void LoadFirstRun(NoteState& state) {
    state.table.rows = {FirstRunNote()};
    state.table.sectionNames = {"Text_0"};
    state.table.overflow.clear();
    state.m_autoStart = false;
    state.m_locked = false;
}

std::string FirstRunText() {
    NoteState state;
    IniWriter out(SettingsLineEnd());
    WriteNote(out, "Text_0", FirstRunNote(), state);
    return out.Take();
}

// Room for the whole file at once: a large file is not copied over and over as it grows.
size_t SerializedSizeEstimate(const NoteState& state) {
    constexpr size_t kKeysAndNumbers = 256;
    size_t bytes = 0;
    for (const NoteRecord& row : state.table.rows) bytes += row.text.size() + row.font.size() + kKeysAndNumbers;
    for (const RawSection& section : state.table.overflow) {
        bytes += section.name.size() + kKeysAndNumbers;
        for (const std::string& line : section.lines) bytes += line.size() + 2;
    }
    return bytes;
}

}  // namespace

std::string WelcomeText() {
    return std::string("欢迎使用桌面文字便签") + kLineBreakMarker + std::string(14, ' ') +
           "——Skyslate2 敬上";
}

NoteRecord FirstRunNote() {
    NoteRecord note;
    note.isShow = true;
    note.positionX = 500;
    note.positionY = 500;
    note.width = 800;
    note.height = 500;
    note.color = 0xFFFF0000;
    note.font = kDefaultFontFace;
    note.fontSize = 380;
    note.text = WelcomeText();
    note.isTopWin = true;
    return note;
}

LoadOutcome LoadSettingsFromText(NoteState& state, std::string text, size_t capacity) {
    const IniDocument document = ParseIni(std::move(text));
    if (document.empty()) {
        LoadFirstRun(state);
        // Blanks and comments are an empty settings file; anything else is not a settings file at all.
        const bool empty = document.BlankOutsideSections() && !document.HasBinaryCharacters();
        return empty ? LoadOutcome::NoNotes : LoadOutcome::Unreadable;
    }
    NoteTable& table = state.table;
    table.rows.clear();
    table.sectionNames.clear();
    table.overflow.clear();
    for (const IniSection& section : document) {
        if (table.rows.size() >= capacity) {
            RawSection& raw = table.overflow.emplace_back();
            raw.name = section.name;
            raw.lines.assign(section.lines.begin(), section.lines.end());
            continue;
        }
        // The flags of the last section read decide, a section marked deleted included.
        state.m_autoStart = ReadFlag(section, kAutoStartKey, "0");
        state.m_locked = ReadFlag(section, kLockedKey, "0");
        if (ReadFlag(section, "delete", "0")) continue;
        table.rows.push_back(ReadNote(section));
        table.sectionNames.emplace_back(section.name);
    }
    if (table.rows.empty() && table.overflow.empty()) {
        LoadFirstRun(state);
        return LoadOutcome::NoNotes;
    }
    return LoadOutcome::Loaded;
}

LoadResult LoadSettings(NoteState& state, const std::string& path, size_t capacity) {
    FileRead read = ReadSettingsFile(path);
    if (read.status == FileRead::Status::Missing) {
        std::string error;
        const bool written = WriteFileAtomically(path, EncodeSettingsText(FirstRunText()), nullptr, &error);
        LoadFirstRun(state);
        if (!written) return {LoadOutcome::FirstRunNotWritten, error};
        return {LoadOutcome::FirstRunWritten, {}};
    }
    if (read.status == FileRead::Status::Failed) {
        LoadFirstRun(state);
        return {LoadOutcome::Unreadable, read.error};
    }
    const LoadOutcome outcome = LoadSettingsFromText(state, DecodeSettingsBytes(std::move(read.bytes)), capacity);
    if (outcome == LoadOutcome::Unreadable) return {outcome, path + ": not a settings file"};
    return {outcome, {}};
}

std::string SerializeSettings(const NoteState& state) {
    IniWriter out(SettingsLineEnd());
    out.Reserve(SerializedSizeEstimate(state));
    bool wroteSection = false;
    const std::vector<NoteRecord>& rows = state.table.rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].isDelete) continue;
        WriteNote(out, "Text_" + std::to_string(i), rows[i], state);
        wroteSection = true;
    }
    for (const RawSection& section : state.table.overflow) {
        WriteRawSection(out, section, state);
        wroteSection = true;
    }
    // With every note deleted the file falls back to the first-run note.
    if (!wroteSection) return FirstRunText();
    return out.Take();
}

bool SaveSettings(NoteState& state, const std::string& path, const SaveOptions& options, std::string* error) {
    std::string bytes = EncodeSettingsText(SerializeSettings(state));
    if (!WriteFileAtomically(path, bytes, options.fault, error)) return false;
    if (options.reload) LoadSettingsFromText(state, DecodeSettingsBytes(std::move(bytes)), options.capacity);
    return true;
}
