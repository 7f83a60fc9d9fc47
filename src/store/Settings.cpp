#include "store/Settings.h"

#include <set>

#include "store/IniFile.h"
#include "store/NoteSection.h"
#include "store/NoteText.h"
#include "store/SettingsEncoding.h"

namespace {

void LoadFirstRun(NoteState& state) {
    state.table.rows = {FirstRunNote(state.language)};
    state.table.rows[0].identity = "@Text_0";
    state.table.sectionNames = {"Text_0"};
    state.m_autoStart = false;
    state.m_locked = false;
}

// The lines before the first section, but for the encoding mark, which every save writes anew.
std::vector<std::string> KeepPreamble(const IniDocument& document) {
    std::vector<std::string> preamble;
    for (std::string_view line : document.Preamble()) {
        if (preamble.empty() && IsUtf8MarkerLine(line)) continue;
        preamble.emplace_back(line);
    }
    return preamble;
}

// Blanks and comments are an empty settings file; anything else without a note is not a settings
// file at all.
LoadOutcome WithoutNotes(NoteState& state, const IniDocument& document, bool noteSections) {
    LoadFirstRun(state);
    if (document.empty()) {
        const bool empty = document.BlankOutsideSections() && !document.HasBinaryCharacters();
        return empty ? LoadOutcome::NoNotes : LoadOutcome::Unreadable;
    }
    return noteSections ? LoadOutcome::NoNotes : LoadOutcome::Unreadable;
}

// A note without an identity of its own (or with a copy of another's) is named by its section, which
// every version of the file read before the next save names alike.
std::string ProvisionalIdentity(std::string_view sectionName, std::set<std::string>& taken) {
    std::string identity = "@" + std::string(sectionName);
    for (int n = 2; !taken.insert(identity).second; ++n) identity = "@" + std::string(sectionName) + "#" + std::to_string(n);
    return identity;
}

SharedFlags FlagsOf(const NoteState& state) { return {state.m_autoStart, state.m_locked}; }

// Room for the whole file at once: a large file is not copied over and over as it grows.
size_t SerializedSizeEstimate(const NoteState& state) {
    constexpr size_t kKeysAndNumbers = 256;
    size_t bytes = kKeysAndNumbers;
    for (const NoteRecord& row : state.table.rows) bytes += row.text.size() + row.font.size() + kKeysAndNumbers;
    for (const FileSection& section : state.table.layout.sections) {
        bytes += section.header.size() + kKeysAndNumbers;
        for (const KeptLine& line : section.lines) bytes += line.text.size() + 2;
    }
    return bytes;
}

// Writes the table's notes in row order into the places their sections had, with the sections that
// are not notes between them where they were. Returns whether any note was written.
bool WriteNotesAndKeptSections(IniWriter& out, const NoteState& state) {
    const std::vector<FileSection>& sections = state.table.layout.sections;
    const SharedFlags flags = FlagsOf(state);
    std::vector<bool> claimed(sections.size(), false);
    size_t nextKept = 0;
    bool wroteNote = false;
    const auto writeKeptBefore = [&](size_t end) {
        for (; nextKept < end; ++nextKept) {
            const FileSection& section = sections[nextKept];
            if (section.kind == FileSection::Kind::Note) continue;  // a note's section goes with its note
            WriteKeptSection(out, section, flags);
            wroteNote = wroteNote || section.kind == FileSection::Kind::Overflow;
        }
    };
    static const std::vector<KeptLine> kNoLines;
    const std::vector<NoteRecord>& rows = state.table.rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t own = size_t(rows[i].section);
        const bool hasSection = rows[i].section >= 0 && own < sections.size() && !claimed[own] &&
                                sections[own].kind == FileSection::Kind::Note;
        if (hasSection) {
            claimed[own] = true;
            writeKeptBefore(own);
        }
        if (rows[i].isDelete) continue;
        WriteNoteSection(out, "Text_" + std::to_string(i), rows[i], hasSection ? sections[own].lines : kNoLines,
                         flags);
        wroteNote = true;
    }
    writeKeptBefore(sections.size());
    return wroteNote;
}

}  // namespace

std::string WelcomeText(UiLanguage language) {
    return InLanguage(language, "欢迎使用桌面文字便签") + kLineBreakMarker + std::string(14, ' ') +
           InLanguage(language, "——Skyslate2 敬上");
}

NoteRecord FirstRunNote(UiLanguage language) {
    NoteRecord note = DefaultNote();
    note.text = WelcomeText(language);
    return note;
}

LoadOutcome LoadSettingsFromText(NoteState& state, std::string text, size_t capacity) {
    // No settings file holds a NUL, and no save writes one: such bytes are another kind of file.
    const bool binary = text.find('\0') != std::string::npos;
    const IniDocument document = ParseIni(std::move(text));
    NoteTable& table = state.table;
    table.rows.clear();
    table.sectionNames.clear();
    if (binary) {
        table.layout = {};
        LoadFirstRun(state);
        return LoadOutcome::Unreadable;
    }
    table.layout = FileLayout{KeepPreamble(document), {}};
    bool noteSections = false;
    std::set<std::string> identities;
    for (const IniSection& section : document) {
        using Kind = FileSection::Kind;
        if (!IsNoteSection(section)) {
            table.layout.sections.push_back({Kind::Foreign, std::string(section.header), KeepAllLines(section)});
            continue;
        }
        noteSections = true;
        if (table.rows.size() >= capacity) {
            table.layout.sections.push_back({Kind::Overflow, std::string(section.header), KeepAllLines(section)});
            continue;
        }
        // The flags of the last section read decide, a section marked deleted included.
        const SharedFlags flags = ReadSharedFlags(section);
        state.m_autoStart = flags.autoStart;
        state.m_locked = flags.locked;
        if (IsMarkedDeleted(section)) continue;  // dropped with its keys at the next save
        NoteRecord& note = table.rows.emplace_back(ReadNote(section));
        if (!HasOwnIdentity(note) || !identities.insert(note.identity).second)
            note.identity = ProvisionalIdentity(section.name, identities);
        note.section = int32_t(table.layout.sections.size());
        table.layout.sections.push_back({Kind::Note, {}, KeepNoteLines(section)});
        table.sectionNames.emplace_back(section.name);
    }
    if (table.rows.empty() && table.layout.OverflowCount() == 0) return WithoutNotes(state, document, noteSections);
    return LoadOutcome::Loaded;
}

LoadResult LoadSettings(NoteState& state, const std::string& path, size_t capacity) {
    FileRead read = ReadSettingsFile(path);
    if (read.status == FileRead::Status::Missing) {
        NoteState firstRun;
        firstRun.language = state.language;
        LoadFirstRun(firstRun);
        std::string error;
        const bool written = WriteFileAtomically(path, EncodeSettingsText(SerializeSettings(firstRun)), nullptr, &error);
        state = std::move(firstRun);
        if (!written) return {LoadOutcome::FirstRunNotWritten, error, {}};
        return {LoadOutcome::FirstRunWritten, {}, FileFingerprint::Of(ReadWholeFile(path).value_or(std::string()))};
    }
    if (read.status == FileRead::Status::Failed) {
        LoadFirstRun(state);
        state.table.layout = {};
        return {LoadOutcome::Unreadable, read.error, {}};
    }
    const FileFingerprint file = FileFingerprint::Of(read.bytes);
    const LoadOutcome outcome = LoadSettingsFromText(state, DecodeSettingsBytes(std::move(read.bytes)), capacity);
    if (outcome == LoadOutcome::Unreadable) return {outcome, path + ": not a settings file", {}};
    return {outcome, {}, file};
}

std::string SerializeSettings(const NoteState& state) {
    IniWriter out(SettingsLineEnd());
    out.Reserve(SerializedSizeEstimate(state));
    if (SettingsFileIsUtf8()) out.RawLine(kUtf8Marker);
    for (const std::string& line : state.table.layout.preamble) out.RawLine(line);
    // With every note deleted the file falls back to the first-run note.
    if (!WriteNotesAndKeptSections(out, state)) WriteNoteSection(out, "Text_0", FirstRunNote(state.language), {}, SharedFlags{});
    return out.Take();
}
