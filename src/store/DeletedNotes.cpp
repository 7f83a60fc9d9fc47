#include "store/DeletedNotes.h"

#include "store/FileIO.h"
#include "store/IniFile.h"
#include "store/NoteSection.h"
#include "store/SettingsEncoding.h"

namespace {
constexpr const char* kDeletedAtKey = "deletedAt";
constexpr const char* kDeletedByKey = "deletedBy";
constexpr const char* kByOtherWriter = "another writer";
}  // namespace

std::vector<DeletedNote> LoadDeletedNotes(const std::string& path) {
    FileRead read = ReadOwnFile(path);
    std::vector<DeletedNote> notes;
    if (read.status != FileRead::Status::Read) return notes;
    const IniDocument document = ParseIni(DecodeSettingsBytes(std::move(read.bytes)));
    for (const IniSection& section : document) {
        if (notes.size() >= kDeletedNotesKept) break;
        DeletedNote& deleted = notes.emplace_back();
        deleted.note = ReadNote(section);
        deleted.note.isDelete = false;
        if (const auto at = FindValue(section, kDeletedAtKey)) deleted.deletedAt = std::string(*at);
        const auto by = FindValue(section, kDeletedByKey);
        deleted.by = by && *by == kByOtherWriter ? DeletedBy::OtherWriter : DeletedBy::Here;
    }
    return notes;
}

bool SaveDeletedNotes(const std::string& path, const std::vector<DeletedNote>& notes, const std::string& modeLike,
                      std::string* error) {
    IniWriter out(SettingsLineEnd());
    if (SettingsFileIsUtf8()) out.RawLine(kUtf8Marker);
    for (size_t i = 0; i < notes.size() && i < kDeletedNotesKept; ++i) {
        WriteNoteSection(out, "Deleted_" + std::to_string(i), notes[i].note, {}, SharedFlags{});
        out.Key(kDeletedAtKey, notes[i].deletedAt);
        if (notes[i].by == DeletedBy::OtherWriter) out.Key(kDeletedByKey, kByOtherWriter);
    }
    return WriteOwnFile(path, EncodeSettingsText(out.Take()), modeLike, error);
}
