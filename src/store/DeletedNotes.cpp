#include "store/DeletedNotes.h"

#include "store/FileIO.h"
#include "store/IniFile.h"
#include "store/NoteSection.h"
#include "store/SettingsEncoding.h"

namespace {
constexpr const char* kDeletedAtKey = "deletedAt";
}

std::vector<DeletedNote> LoadDeletedNotes(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    std::vector<DeletedNote> notes;
    if (!bytes) return notes;
    const IniDocument document = ParseIni(DecodeSettingsBytes(std::move(*bytes)));
    for (const IniSection& section : document) {
        if (notes.size() >= kDeletedNotesKept) break;
        DeletedNote& deleted = notes.emplace_back();
        deleted.note = ReadNote(section);
        deleted.note.isDelete = false;
        if (const auto at = FindValue(section, kDeletedAtKey)) deleted.deletedAt = std::string(*at);
    }
    return notes;
}

bool SaveDeletedNotes(const std::string& path, const std::vector<DeletedNote>& notes, std::string* error) {
    IniWriter out(SettingsLineEnd());
    if (SettingsFileIsUtf8()) out.RawLine(kUtf8Marker);
    for (size_t i = 0; i < notes.size() && i < kDeletedNotesKept; ++i) {
        WriteNoteSection(out, "Deleted_" + std::to_string(i), notes[i].note, {}, SharedFlags{});
        out.Key(kDeletedAtKey, notes[i].deletedAt);
    }
    return WriteFileAtomically(path, EncodeSettingsText(out.Take()), nullptr, error);
}
