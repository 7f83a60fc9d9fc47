#include "manager/NoteManager.h"

#include <algorithm>
#include <utility>

#include "manager/ViewUpdate.h"
#include "store/Settings.h"

// The notes and their file: start-up, the save and what the file holds afterwards, another writer's
// version joining the notes, the end. What it does to the notes' windows is in NoteWindows.cpp.

namespace {

NotesFile::Setup FileSetup(const NoteManager::Services& services) {
    NotesFile::Setup setup;
    setup.settingsPath = services.settingsPath;
    setup.dataFolder = services.dataFolder;
    setup.computerName = services.computerName;
    setup.language = services.language;
    setup.settle = services.settle;
    return setup;
}

}  // namespace

NoteManager::NoteManager(NoteListView& list, Services services)
    : list_(list), services_(std::move(services)), file_(FileSetup(services_), services_.clock, services_.log) {}

NoteManager::~NoteManager() = default;

void NoteManager::Start() {
    ViewUpdate update(updatingView_);
    NotesFile::Start start = file_.Load(TableCapacity());
    const LoadResult& loaded = start.loaded;
    firstRun_ = loaded.outcome == LoadOutcome::FirstRunWritten || loaded.outcome == LoadOutcome::FirstRunNotWritten;
    if (loaded.outcome == LoadOutcome::Unreadable) {
        saveBlocked_ = true;
        services_.log.Failure("settings not read: " + loaded.problem);
        services_.messages.ShowMessage(text::kReadFailed);
        if (ended_) return;  // the session ended while the message was up: nothing more to start
    } else if (loaded.outcome == LoadOutcome::FirstRunNotWritten) {
        services_.log.Failure("first-run settings not written: " + loaded.problem);
    }
    NoteState& state = start.notes;
    m_autoStart = state.m_autoStart;
    m_locked = state.m_locked;
    layout_ = std::move(state.table.layout);
    monitors_ = services_.screens.Monitors();
    AdoptRecords(std::move(state.table.rows));
    // The registration follows the file's flag; an unread file has no flag to follow.
    if (!saveBlocked_ && FollowFlagAtStart(services_.autostart, m_autoStart) == AutostartChange::LeftAlone)
        services_.log.Failure("login start left to the other settings folder it opens");
    list_.SetAutoStartCheck(m_autoStart);
    ShowLockState();
    // What changed while the program did not run (a conflict copy, notes it could not save) is in the file
    // at once, for every other reader.
    if (start.needsSave) Save(Report::LogOnly);
}

// How many notes the table may hold: no more than windows can still be created in this run.
size_t NoteManager::TableCapacity() const {
    const size_t windowsLeft = size_t(kWindowCapacity - m_windowsCreated);
    return std::min(NoteTable::kCapacity, notes_.size() + windowsLeft);
}

// The file side merges what another writer saved since the program last looked, and writes once nobody is
// writing the file; until then the notes wait here, and the save is made when the file has settled.
NoteManager::SaveResult NoteManager::Save(Report report, Then then) {
    if (saveBlocked_) {
        Tell(report, text::kNotSavedUnreadable);
        return SaveResult::Blocked;
    }
    const bool lent = then == Then::Quit;
    NotesFile::Saved saved = file_.Save(lent ? LentVersion() : OurVersion(), InUse({}), then, TableCapacity());
    if (then == Then::Quit && saved.status == NotesFile::Saved::Status::Saved) return SaveResult::Saved;
    const std::vector<NoteId> setAside = TakeBack(saved, lent);
    switch (saved.status) {
        case NotesFile::Saved::Status::Saved:
            savePending_ = false;
            if (saved.written) AdoptReload(std::move(*saved.written));
            // A text a conflict set aside goes where it prints over no other note, and the file says so too.
            if (then == Then::GoOn && PlaceClearOfOthers(setAside)) return Save(report);
            return SaveResult::Saved;
        case NotesFile::Saved::Status::Deferred:
            if (then == Then::Quit) return SaveFailed(report, "another program kept writing the file");
            if (!std::exchange(savePending_, true))
                services_.log.Failure("settings saved once another program has written the file");
            services_.wakeup.LookAgainAfter(saved.retryMs);
            return SaveResult::Deferred;
        case NotesFile::Saved::Status::Failed: break;
    }
    return SaveFailed(report, saved.error);
}

// The notes as the save left them: another writer's version merged in, or the records lent to it.
std::vector<NoteId> NoteManager::TakeBack(NotesFile::Saved& saved, bool lent) {
    if (saved.rows) return AdoptMerge({std::move(saved.notes), std::move(*saved.rows)});
    if (lent)
        for (size_t i = 0; i < notes_.size() && i < saved.notes.table.rows.size(); ++i)
            notes_[i].record = std::move(saved.notes.table.rows[i]);
    return {};
}

NoteManager::SaveResult NoteManager::SaveFailed(Report report, const std::string& why) {
    services_.log.Failure("settings not saved: " + why);
    Tell(report, text::kSaveFailed);
    return SaveResult::Failed;
}

bool NoteManager::SaveSettings() {
    const SaveResult saved = Save(Report::MessageBox);
    return saved == SaveResult::Saved || saved == SaveResult::Deferred;
}

void NoteManager::Tell(Report report, const std::string& message) {
    if (report == Report::MessageBox) services_.messages.ShowMessage(message);
    else services_.log.Failure(message);
}

// The table is what the file now holds: the notes' own rows in order (each now naming its section of the
// saved file), then the sections that moved up from beyond the capacity, which become notes of their own.
void NoteManager::AdoptReload(NoteTable table) {
    const size_t kept = std::min(notes_.size(), table.rows.size());
    if (kept < notes_.size()) services_.log.Failure("the saved settings hold fewer notes than were saved");
    for (size_t i = 0; i < kept; ++i) {
        Note& note = notes_[i];
        if (!SameLook(note.record, table.rows[i])) note.lookCurrent = false;
        note.record = std::move(table.rows[i]);
    }
    layout_ = std::move(table.layout);
    if (table.rows.size() > kept)
        AdoptRecords(std::vector<NoteRecord>(std::make_move_iterator(table.rows.begin() + long(kept)),
                                             std::make_move_iterator(table.rows.end())));
}

bool NoteManager::ExitProgram() {
    SyncNotes();
    if (Save(Report::MessageBox, Then::Quit) == SaveResult::Failed) return false;  // stay, to try again
    CloseEveryNote();
    services_.app.Quit();
    ended_ = true;
    return true;
}

void NoteManager::EndSession() {
    ended_ = true;
    SyncNotes();
    Save(Report::LogOnly, Then::Quit);  // nobody may be there to answer a message box
    CloseEveryNote();
    services_.app.Quit();
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

std::vector<DeletedNote> NoteManager::DeletedNotes() const { return file_.DeletedNotes(Identities()); }
