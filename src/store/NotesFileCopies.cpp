#include <algorithm>
#include <filesystem>

#include "store/NotesFile.h"
#include "store/SettingsEncoding.h"

// The files beside the notes file and on this machine: sync tools' conflict copies, the daily copies, the
// deleted notes and the notes a session's end could not save.

namespace {

// A conflict copy far larger than the notes file is no copy of it: not worth reading at every look.
uint64_t LargestCopyWorthReading(uint64_t settingsSize) { return std::max<uint64_t>(4 * settingsSize, 64ull << 20); }

std::vector<bool> PinnedAfter(const std::vector<bool>& pinned, const std::vector<int>& oursRow) {
    std::vector<bool> after(oursRow.size(), false);
    for (size_t i = 0; i < oursRow.size(); ++i)
        after[i] = oursRow[i] >= 0 && size_t(oursRow[i]) < pinned.size() && pinned[size_t(oursRow[i])];
    return after;
}

std::optional<NoteState> ParseNotes(std::string bytes, UiLanguage language) {
    NoteState state;
    state.language = language;
    if (LoadSettingsFromText(state, DecodeSettingsBytes(std::move(bytes))) != LoadOutcome::Loaded) return std::nullopt;
    return state;
}

}  // namespace

std::string NotesFile::CopiesFolder() const {
    return setup_.dataFolder.empty() ? std::string() : CopiesFolderFor(setup_.dataFolder, setup_.settingsPath);
}

// ---- Conflict copies

// A copy is merged like any other writer's version, from the version it most likely started from, and
// then moved out of the synced folder; a copy that cannot be moved is not merged twice.
void NotesFile::MergeConflictCopies(std::optional<Merged>& merged, const NoteState& ours,
                                    const std::vector<bool>& pinned) {
    for (const ConflictCopy& copy : FindConflictCopies(setup_.settingsPath, setup_.computerName)) {
        if (std::find(mergedCopies_.begin(), mergedCopies_.end(), copy.path) != mergedCopies_.end()) continue;
        std::optional<NoteState> theirs = ReadCopy(copy);
        if (!theirs) continue;  // not readable as notes: left where it is, for the user
        const NoteState& now = merged ? merged->notes : ours;
        const std::vector<bool> pinnedNow = merged ? PinnedAfter(pinned, merged->rows.oursRow) : pinned;
        MergeResult result = MergeNotes(versions_.NearestTo(*theirs, now), now, *theirs, pinnedNow);
        for (const std::string& line : result.log) log_.Failure(line);
        Merged step{std::move(result.state), {std::move(result.oursRow), std::move(result.setAside)}};
        KeepDroppedNotes(now, step);
        if (merged) step.rows = ThroughBoth(merged->rows, step.rows);
        merged = std::move(step);
        log_.Failure("merged the conflict copy " + copy.path);
        MoveCopyAway(copy.path);
    }
}

// The copy's notes; nothing for a file that is being written, is not readable as notes or (for a name that
// may be a user's own) holds no version this program knows. Such a file is looked at again once it changes.
std::optional<NoteState> NotesFile::ReadCopy(const ConflictCopy& copy) {
    const std::optional<FileStamp> stamp = StampOfFile(copy.path);
    if (!stamp) return std::nullopt;
    const auto seen = unreadableCopies_.find(copy.path);
    if (seen != unreadableCopies_.end() && seen->second == *stamp) return std::nullopt;
    if (WritersOf(copy.path) == Writers::Writing) return std::nullopt;
    const auto notACopy = [&](const char* why) -> std::optional<NoteState> {
        unreadableCopies_[copy.path] = *stamp;
        if (why) log_.Failure(copy.path + ": " + why);
        return std::nullopt;
    };
    const std::optional<FileStamp> settings = StampOfFile(setup_.settingsPath);
    if (stamp->size > LargestCopyWorthReading(settings ? settings->size : 0))
        return notACopy("too large to be a copy of the notes");
    FileRead read = ReadOwnFile(copy.path);
    if (read.status != FileRead::Status::Read || read.changing) return std::nullopt;
    if (copy.confirmByContent && !versions_.Knows(read.bytes)) return notACopy(nullptr);  // a file of the user's
    std::optional<NoteState> notes = ParseNotes(std::move(read.bytes), setup_.language);
    return notes ? notes : notACopy("not readable as notes; left where it is");
}

void NotesFile::MoveCopyAway(const std::string& path) {
    mergedCopies_.push_back(path);
    std::string error;
    if (CopiesFolder().empty()) return;
    if (MoveIntoFolder(path, CopiesFolder() + "/conflicts", setup_.settingsPath, &error))
        mergedCopies_.pop_back();
    else
        log_.Failure("a merged conflict copy stays where it is: " + error);
}

// ---- Daily copies

// The file as it is before the day's first save, when it changed since the last copy; the copies of one
// notes folder take no more than CopiesBound of the file.
void NotesFile::KeepTodaysCopy(const std::string& bytes, bool* made) {
    *made = false;
    if (CopiesFolder().empty()) return;
    const std::string folder = CopiesFolder() + "/daily";
    const std::string date = LocalTimeNow().substr(0, 10);
    std::string error;
    if (!KeepDailyCopy(setup_.settingsPath, bytes, folder, date, kDailyCopiesKept, &error, made)) {
        log_.Failure("no daily copy of the settings: " + error);
        return;
    }
    if (!*made) return;
    todaysCopy_ = DailyCopyPath(folder, NameOf(setup_.settingsPath), date);
    TrimCopies({folder, CopiesFolder() + "/conflicts"}, CopiesBound(bytes.size()));
}

// The save failed: the copy just made would be a second name of the live file.
void NotesFile::ForgetTodaysCopy() {
    std::error_code ignored;
    if (!todaysCopy_.empty()) std::filesystem::remove(std::filesystem::u8path(todaysCopy_), ignored);
    todaysCopy_.clear();
}

// ---- What a session's end could not save

std::string NotesFile::UnsavedPath() const {
    return CopiesFolder().empty() ? std::string() : CopiesFolder() + "/unsaved.ini";
}

void NotesFile::KeepUnsaved(const NoteState& ours) {
    std::string error;
    if (UnsavedPath().empty() || !MakeOwnFolder(CopiesFolder(), &error) ||
        !WriteOwnFile(UnsavedPath(), EncodeSettingsText(SerializeSettings(ours)), setup_.settingsPath, &error)) {
        log_.Failure("the notes could not be saved before the end, and are lost: " + error);
        return;
    }
    log_.Failure("the notes could not be saved before the end: kept in " + UnsavedPath() + " until the next start");
}

std::optional<NoteState> NotesFile::ReadUnsaved() {
    if (UnsavedPath().empty()) return std::nullopt;
    FileRead read = ReadOwnFile(UnsavedPath());
    if (read.status != FileRead::Status::Read) return std::nullopt;
    log_.Failure("the notes the last run could not save join the file's");
    return ParseNotes(std::move(read.bytes), setup_.language);
}

void NotesFile::RemoveUnsaved() {
    std::error_code ignored;
    if (!UnsavedPath().empty()) std::filesystem::remove(std::filesystem::u8path(UnsavedPath()), ignored);
}

// ---- Deleted notes

// What other writers removed is this machine's own record: beside the file, where every machine would write
// it at once, it would only make the sync tool's conflicts.
std::string NotesFile::DeletedListOf(DeletedBy by) const {
    if (by == DeletedBy::Here || CopiesFolder().empty()) return DeletedNotesPath(setup_.settingsPath);
    return CopiesFolder() + "/deleted-elsewhere.ini";
}

void NotesFile::KeepDeleted(std::vector<NoteRecord> records, DeletedBy by) {
    const std::string path = DeletedListOf(by);
    std::string error;
    if (by == DeletedBy::OtherWriter && !CopiesFolder().empty() && !MakeOwnFolder(CopiesFolder(), &error)) {
        log_.Failure("notes another writer removed were not kept: " + error);
        return;
    }
    std::vector<DeletedNote> deleted = LoadDeletedNotes(path);
    const std::string now = LocalTimeNow();
    for (NoteRecord& record : records) deleted.insert(deleted.begin(), DeletedNote{std::move(record), now, by});
    if (!SaveDeletedNotes(path, deleted, setup_.settingsPath, &error))
        log_.Failure("a deleted note was not kept: " + error);
}

std::vector<DeletedNote> NotesFile::DeletedNotes(const std::vector<std::string>& currentIdentities) const {
    std::vector<DeletedNote> all = LoadDeletedNotes(DeletedListOf(DeletedBy::Here));
    if (DeletedListOf(DeletedBy::OtherWriter) != DeletedListOf(DeletedBy::Here))
        for (DeletedNote& note : LoadDeletedNotes(DeletedListOf(DeletedBy::OtherWriter))) all.push_back(std::move(note));
    std::stable_sort(all.begin(), all.end(),
                     [](const DeletedNote& a, const DeletedNote& b) { return a.deletedAt > b.deletedAt; });
    // A note that is a note again, or listed already, is not offered twice.
    std::vector<std::string> seen = currentIdentities;
    std::vector<DeletedNote> offered;
    for (DeletedNote& note : all) {
        const std::string& identity = note.note.identity;
        if (HasOwnIdentity(note.note) && std::find(seen.begin(), seen.end(), identity) != seen.end()) continue;
        if (HasOwnIdentity(note.note)) seen.push_back(identity);
        offered.push_back(std::move(note));
        if (offered.size() == kDeletedNotesKept) break;
    }
    return offered;
}

std::optional<NoteRecord> NotesFile::TakeDeleted(size_t index, const std::vector<std::string>& currentIdentities) {
    const std::vector<DeletedNote> offered = DeletedNotes(currentIdentities);
    if (index >= offered.size()) return std::nullopt;
    const DeletedNote& taken = offered[index];
    const std::string path = DeletedListOf(taken.by);
    std::vector<DeletedNote> kept = LoadDeletedNotes(path);
    const auto same = [&](const DeletedNote& note) {
        return note.deletedAt == taken.deletedAt && note.note.identity == taken.note.identity &&
               note.note.text == taken.note.text;
    };
    const auto it = std::find_if(kept.begin(), kept.end(), same);
    if (it != kept.end()) kept.erase(it);
    std::string error;
    if (!SaveDeletedNotes(path, kept, setup_.settingsPath, &error))
        log_.Failure("the restored note stays listed: " + error);
    return taken.note;
}
