#include <algorithm>
#include <utility>

#include "manager/NoteManager.h"
#include "manager/ViewUpdate.h"
#include "store/DeletedNotes.h"
#include "store/FileIO.h"
#include "store/NoteText.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "store/SharedFiles.h"

// The notes shared with other writers of the file: another writer's version merged into the notes,
// the copies sync tools leave, the daily copies of the file and the notes the user deleted.

namespace {

bool SamePlace(const NoteRecord& a, const NoteRecord& b) {
    return a.positionX == b.positionX && a.positionY == b.positionY && a.width == b.width && a.height == b.height;
}

std::optional<NoteState> ParseVersion(std::string bytes) {
    NoteState state;
    if (LoadSettingsFromText(state, DecodeSettingsBytes(std::move(bytes))) == LoadOutcome::Unreadable) return std::nullopt;
    return state;
}

}  // namespace

NoteState NoteManager::OurVersion() const {
    std::vector<NoteRecord> rows;
    rows.reserve(notes_.size());
    for (const Note& note : notes_) rows.push_back(note.record);
    return VersionOf(std::move(rows));
}

NoteState NoteManager::VersionOf(std::vector<NoteRecord> rows) const {
    NoteState state;
    state.language = services_.language;
    state.m_autoStart = m_autoStart;
    state.m_locked = m_locked;
    state.table.layout = layout_;
    state.table.rows = std::move(rows);
    return state;
}

std::vector<bool> NoteManager::InUse(const std::vector<NoteId>& inUse) const {
    std::vector<bool> pinned;
    for (const Note& note : notes_)
        pinned.push_back(note.settingsOpen || note.preview ||
                         std::find(inUse.begin(), inUse.end(), note.id) != inUse.end());
    return pinned;
}

void NoteManager::ReloadSettings(const std::vector<NoteId>& inUse) {
    if (saveBlocked_ || ended_) return;
    SyncNotes();  // where the user moved notes is part of what this side changed
    MergeFileIntoNotes(inUse);
    MergeConflictCopies(inUse);
    // What the merge kept that the file lacks goes back into it, so that every other reader has it too. Both
    // ends of a sync merge alike, so once they agree neither writes again.
    if (versions_.Any() && !SameNotes(OurVersion(), versions_.Last())) Save(Report::LogOnly);
}

// Another writer's version of the file joins the notes. The base is what the file held when the program
// last read or wrote it; when a sync tool set that version aside as a conflict copy, the other side did not
// start from it, and the nearest older version is the base instead.
NoteManager::FileCheck NoteManager::MergeFileIntoNotes(const std::vector<NoteId>& inUse) {
    FileRead read = ReadSettingsFile(services_.settingsPath);
    if (read.status == FileRead::Status::Missing) return FileCheck::Unchanged;  // written anew at the next save
    if (read.status == FileRead::Status::Failed) {
        services_.log.Failure("settings not read for a merge: " + read.error);
        return FileCheck::Unreadable;
    }
    if (versions_.IsLast(read.bytes)) return FileCheck::Unchanged;
    std::optional<NoteState> theirs = ParseVersion(read.bytes);
    if (!theirs) {
        services_.log.Failure(services_.settingsPath + ": another writer left no settings in it");
        return FileCheck::Unreadable;
    }
    const NoteState ours = OurVersion();
    bool lastWasSetAside = false;
    for (const std::string& copy : FindConflictCopies(services_.settingsPath))
        lastWasSetAside = lastWasSetAside || versions_.IsLast(ReadWholeFile(copy).value_or(std::string()));
    const NoteState base = lastWasSetAside ? versions_.NearestTo(*theirs, ours, true) : versions_.Last();
    AdoptMerge(MergeNotes(base, ours, *theirs, InUse(inUse)));
    versions_.Record(FileFingerprint::Of(read.bytes), std::move(*theirs));
    return FileCheck::Merged;
}

NoteManager::FileNow NoteManager::LookAtFile() const {
    const FileRead read = ReadSettingsFile(services_.settingsPath);
    if (read.status == FileRead::Status::Missing) return FileNow::Missing;
    return read.status == FileRead::Status::Read && versions_.IsLast(read.bytes) ? FileNow::AsLastSeen : FileNow::Changed;
}

// A copy is merged like any other writer's version, from the version it most likely started from, and
// then moved out of the synced folder; a copy that cannot be moved is not merged twice.
void NoteManager::MergeConflictCopies(const std::vector<NoteId>& inUse) {
    for (const std::string& copy : FindConflictCopies(services_.settingsPath)) {
        if (std::find(mergedCopies_.begin(), mergedCopies_.end(), copy) != mergedCopies_.end()) continue;
        std::optional<std::string> bytes = ReadWholeFile(copy);
        std::optional<NoteState> theirs = bytes ? ParseVersion(std::move(*bytes)) : std::nullopt;
        if (!theirs) continue;  // not readable as notes: left where it is, for the user
        const NoteState ours = OurVersion();
        AdoptMerge(MergeNotes(versions_.NearestTo(*theirs, ours), ours, *theirs, InUse(inUse)));
        services_.log.Failure("merged the conflict copy " + copy);
        mergedCopies_.push_back(copy);
        std::string error;
        if (!services_.dataFolder.empty() &&
            MoveIntoFolder(copy, CopiesFolderFor(services_.dataFolder, services_.settingsPath) + "/conflicts", &error))
            mergedCopies_.pop_back();
        else
            services_.log.Failure("a merged conflict copy stays where it is: " + error);
    }
}

// The merged notes: ours that stay are updated in place, those the other side deleted go, new ones come.
void NoteManager::AdoptMerge(MergeResult merged) {
    for (const std::string& line : merged.log) services_.log.Failure(line);
    std::vector<bool> stays(notes_.size(), false);
    for (int row : merged.oursRow)
        if (row >= 0) stays[size_t(row)] = true;
    for (size_t i = notes_.size(); i-- > 0;)
        if (!stays[i]) DropNote(int(i));
    std::vector<NoteRecord> added;
    size_t row = 0;
    for (size_t i = 0; i < merged.state.table.rows.size(); ++i) {
        if (merged.oursRow[i] >= 0) UpdateNote(int(row++), std::move(merged.state.table.rows[i]));
        else added.push_back(std::move(merged.state.table.rows[i]));
    }
    layout_ = std::move(merged.state.table.layout);
    SetFlags(merged.state.m_autoStart, merged.state.m_locked);
    AdoptRecords(std::move(added));
}

void NoteManager::UpdateNote(int row, NoteRecord record) {
    Note& note = notes_[size_t(row)];
    const NoteRecord before = std::exchange(note.record, std::move(record));
    if (before.text != note.record.text) {
        ViewUpdate update(updatingView_);
        list_.SetListRowText(row, StoredToListLabel(note.record.text));
    }
    if (!SameLook(before, note.record)) note.lookCurrent = false;
    if (note.window && !SamePlace(before, note.record)) {
        const WindowRect target = PlaceOf(note.record, monitors_);
        if (note.window->Place(target)) note.placed = target;
        else services_.log.Failure("a note window could not be moved where another writer put it");
    }
    if (before.isShow != note.record.isShow) SetShown(row, note.record.isShow);
    else if (note.record.isShow) PushLook(note);
    ApplyTopMostFlag(note);
}

void NoteManager::SetFlags(bool autoStart, bool locked) {
    ViewUpdate update(updatingView_);
    if (autoStart != m_autoStart) list_.SetAutoStartCheck(autoStart);
    m_autoStart = autoStart;
    if (locked == m_locked) return;
    m_locked = locked;
    list_.SetLockCheck(locked);
    for (Note& note : notes_)
        if (note.window) note.window->SetLocked(locked);
}

// ---- Copies kept on this machine, and the notes the user deleted

// The file as it is before the day's first save.
void NoteManager::KeepTodaysCopy() {
    if (services_.dataFolder.empty()) return;
    const std::string folder = CopiesFolderFor(services_.dataFolder, services_.settingsPath) + "/daily";
    const std::string name = NameOf(services_.settingsPath);
    const std::string date = LocalTimeNow().substr(0, 10);
    if (HasDailyCopy(folder, name, date)) return;
    const std::optional<std::string> bytes = ReadWholeFile(services_.settingsPath);
    std::string error;
    if (bytes && !KeepDailyCopy(folder, name, date, *bytes, kDailyCopiesKept, &error))
        services_.log.Failure("no daily copy of the settings: " + error);
}

void NoteManager::KeepDeleted(const NoteRecord& record) {
    const std::string path = DeletedNotesPath(services_.settingsPath);
    std::vector<DeletedNote> deleted = LoadDeletedNotes(path);
    deleted.insert(deleted.begin(), DeletedNote{record, LocalTimeNow()});
    std::string error;
    if (!SaveDeletedNotes(path, deleted, &error)) services_.log.Failure("a deleted note was not kept: " + error);
}

std::vector<DeletedNote> NoteManager::DeletedNotes() const {
    return LoadDeletedNotes(DeletedNotesPath(services_.settingsPath));
}

bool NoteManager::RestoreNote(size_t index) {
    const std::string path = DeletedNotesPath(services_.settingsPath);
    std::vector<DeletedNote> deleted = LoadDeletedNotes(path);
    if (index >= deleted.size()) return false;
    if (!RoomForANote()) return false;
    NoteRecord record = std::move(deleted[index].note);
    record.isShow = true;
    record.section = kNewSection;
    deleted.erase(deleted.begin() + long(index));
    std::string error;
    if (!SaveDeletedNotes(path, deleted, &error)) services_.log.Failure("the restored note stays listed: " + error);
    AdoptRecords({std::move(record)});
    SyncNotes();
    Save(Report::MessageBox);
    return true;
}
