#include "store/Settings.h"

#include <cstdio>

#include "store/IniFile.h"
#include "store/NoteText.h"
#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

namespace {

std::string Number(int32_t value) { return std::to_string(value); }
std::string Flag(bool value) { return value ? "1" : "0"; }

// Reads one key, or its default when the key is missing; an empty value is empty, not missing.
std::string Value(const IniSection& section, const char* key, const char* fallback) {
    const std::string* value = FindValue(section, key);
    return value ? *value : fallback;
}

bool ReadFlag(const IniSection& s, const char* key, const char* fallback) {
    return ParseInt(Value(s, key, fallback)) != 0;
}

NoteRecord ReadNote(const IniSection& s) {
    NoteRecord note;
    note.isShow = ReadFlag(s, "isShow", "1");
    note.autoStart = ReadFlag(s, "autoStart", "0");
    note.positionX = ParseInt(Value(s, "positionX", "500"));
    note.positionY = ParseInt(Value(s, "positionY", "500"));
    note.width = ParseInt(Value(s, "width", "800"));
    note.height = ParseInt(Value(s, "height", "500"));
    note.color = ParseColor(Value(s, "color", "255,0,0"));
    note.font = Value(s, "font", "黑体");
    note.fontSize = ParseInt(Value(s, "fontSize", "380"));
    note.isDelete = ReadFlag(s, "delete", "0");
    note.text = Value(s, "text", "");
    note.isTopWin = ReadFlag(s, "isTopWin", "1");
    return note;
}

void WriteNote(IniWriter& out, const std::string& name, const NoteRecord& note, bool autoStart) {
    out.Section(name);
    out.Key("isShow", Flag(note.isShow));
    out.Key("autoStart", Flag(autoStart));
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
}

std::string FirstRunText() {
    IniWriter out(SettingsLineEnd());
    WriteNote(out, "Text_0", FirstRunNote(), false);
    return out.Text();
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
    note.font = "黑体";
    note.fontSize = 380;
    note.text = WelcomeText();
    note.isTopWin = true;
    return note;
}

void LoadSettingsFromText(NoteState& state, const std::string& text) {
    NoteTable& table = state.table;
    table.rows.clear();
    table.sectionNames.clear();
    table.overflow.clear();
    for (IniSection& section : ParseIni(text)) {
        if (table.full()) {
            table.overflow.push_back({std::move(section.name), std::move(section.lines)});
            continue;
        }
        NoteRecord note = ReadNote(section);
        state.m_autoStart = note.autoStart;
        table.rows.push_back(std::move(note));
        table.sectionNames.push_back(std::move(section.name));
    }
}

LoadOutcome LoadSettings(NoteState& state, const std::string& path) {
    if (!FileExists(path)) {
        const std::string firstRun = FirstRunText();
        const bool written = WriteFileAtomically(path, EncodeSettingsText(firstRun));
        LoadSettingsFromText(state, firstRun);
        return written ? LoadOutcome::FirstRunWritten : LoadOutcome::FirstRunNotWritten;
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        LoadSettingsFromText(state, FirstRunText());
        return LoadOutcome::Unreadable;
    }
    LoadSettingsFromText(state, DecodeSettingsBytes(*bytes));
    return LoadOutcome::Loaded;
}

std::string SerializeSettings(const NoteState& state) {
    IniWriter out(SettingsLineEnd());
    bool wroteNote = false;
    const std::vector<NoteRecord>& rows = state.table.rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].isDelete) continue;
        WriteNote(out, "Text_" + std::to_string(i), rows[i], state.m_autoStart);
        wroteNote = true;
    }
    // With every note deleted the file falls back to the first-run note.
    if (!wroteNote) return FirstRunText();
    for (const RawSection& section : state.table.overflow) {
        out.Section(section.name);
        for (const std::string& line : section.lines) out.RawLine(line);
    }
    return out.Text();
}

bool SaveSettings(NoteState& state, const std::string& path, const WriteFault* fault) {
    const std::string text = SerializeSettings(state);
    if (!WriteFileAtomically(path, EncodeSettingsText(text), fault)) return false;
    LoadSettingsFromText(state, text);
    return true;
}
