#include <algorithm>
#include <utility>

#include "manager/NoteManager.h"
#include "manager/ViewUpdate.h"
#include "store/NoteText.h"

// The notes shared with other writers: another writer's version merged into the notes, and the notes
// that were deleted.

namespace {

bool SamePlace(const NoteRecord& a, const NoteRecord& b) {
    return a.positionX == b.positionX && a.positionY == b.positionY && a.width == b.width && a.height == b.height;
}

}  // namespace

NoteState NoteManager::OurVersion() const {
    std::vector<NoteRecord> rows;
    rows.reserve(notes_.size());
    for (const Note& note : notes_) rows.push_back(note.record);
    return VersionOf(std::move(rows));
}

NoteState NoteManager::LentVersion() {
    std::vector<NoteRecord> rows;
    rows.reserve(notes_.size());
    for (Note& note : notes_) rows.push_back(std::move(note.record));
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

std::vector<std::string> NoteManager::Identities() const {
    std::vector<std::string> identities;
    for (const Note& note : notes_) identities.push_back(note.record.identity);
    return identities;
}

void NoteManager::ReloadSettings(const std::vector<NoteId>& inUse) {
    if (saveBlocked_ || ended_) return;
    SyncNotes();  // where the user moved notes is part of what this side changed
    NotesFile::Look look = file_.LookForChanges(OurVersion(), InUse(inUse));
    using Status = NotesFile::Look::Status;
    if (look.status == Status::Unsettled) {  // another writer is not done: look again once they should be
        services_.wakeup.LookAgainAfter(look.retryMs);
        return;
    }
    if (look.status == Status::Unreadable) return;
    if (look.merged) PlaceClearOfOthers(AdoptMerge(std::move(*look.merged)));
    // What the merge kept that the file lacks goes back into it, so that every other reader has it too. Both
    // ends of a sync merge alike, so once they agree neither writes again.
    if (savePending_ || file_.DiffersFromFile(OurVersion())) Save(Report::LogOnly);
}

// The merged notes: ours that stay are updated in place, those the other side deleted go, new ones come.
// Returns the new notes that keep a text a conflict set aside.
std::vector<NoteId> NoteManager::AdoptMerge(NotesFile::Merged merged) {
    std::vector<bool> stays(notes_.size(), false);
    for (int row : merged.rows.oursRow)
        if (row >= 0) stays[size_t(row)] = true;
    for (size_t i = notes_.size(); i-- > 0;)
        if (!stays[i]) DropNote(int(i));
    std::vector<NoteRecord> added;
    std::vector<bool> addedSetAside;
    size_t row = 0;
    for (size_t i = 0; i < merged.notes.table.rows.size(); ++i) {
        if (merged.rows.oursRow[i] >= 0) {
            UpdateNote(int(row++), std::move(merged.notes.table.rows[i]));
            continue;
        }
        added.push_back(std::move(merged.notes.table.rows[i]));
        addedSetAside.push_back(i < merged.rows.setAside.size() && merged.rows.setAside[i]);
    }
    layout_ = std::move(merged.notes.table.layout);
    SetFlags(merged.notes.m_autoStart, merged.notes.m_locked);
    const size_t first = notes_.size();
    AdoptRecords(std::move(added));
    std::vector<NoteId> setAside;
    for (size_t i = 0; i < addedSetAside.size() && first + i < notes_.size(); ++i)
        if (addedSetAside[i]) setAside.push_back(notes_[first + i].id);
    return setAside;
}

// A text a conflict set aside beside its note would print over it: it moves below what it would cover.
// Returns whether any moved.
bool NoteManager::PlaceClearOfOthers(const std::vector<NoteId>& setAside) {
    bool moved = false;
    for (NoteId id : setAside)
        if (const int row = RowOf(id); row >= 0) moved = PlaceClearOfOthers(notes_[size_t(row)]) || moved;
    return moved;
}

bool NoteManager::PlaceClearOfOthers(Note& note) {
    if (!note.OnScreen()) return false;
    const std::optional<WindowRect> text = note.window->TextBounds();
    if (!text) return false;
    std::vector<WindowRect> taken;
    for (Note& other : notes_)
        if (&other != &note && other.OnScreen())
            if (const std::optional<WindowRect> bounds = other.window->TextBounds()) taken.push_back(*bounds);
    const Point by = ClearOf(*text, taken, monitors_);
    if (by.x == 0 && by.y == 0) return false;
    const WindowRect target{note.placed.left + by.x, note.placed.top + by.y, note.placed.right + by.x,
                            note.placed.bottom + by.y};
    if (!note.window->Place(target)) {
        services_.log.Failure("a note set aside by a conflict could not be moved clear of the others");
        return false;
    }
    note.placed = target;
    note.record.positionX += by.x;
    note.record.positionY += by.y;
    return true;
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

// ---- The notes that were deleted

std::vector<DeletedNote> NoteManager::DeletedNotes() const { return file_.DeletedNotes(Identities()); }

bool NoteManager::RestoreNote(size_t index) {
    if (index >= DeletedNotes().size() || !RoomForANote()) return false;
    std::optional<NoteRecord> record = file_.TakeDeleted(index, Identities());
    if (!record) return false;
    record->isShow = true;
    record->section = kNewSection;
    AdoptRecords({std::move(*record)});
    SyncNotes();
    Save(Report::MessageBox);
    return true;
}
