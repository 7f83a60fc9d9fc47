#include "manager/NoteManager.h"

#include <algorithm>
#include <utility>

#include "manager/ViewUpdate.h"
#include "store/NoteText.h"
#include "store/Settings.h"
#include "store/SharedFiles.h"

// The owner of the notes: start-up, each note's window, the save and what the file holds afterwards,
// and the desktop's changes. The commands on notes are in NoteCommands.cpp.

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

int NoteManager::RowOfWindow(const NoteWindow* window) const {
    if (!window) return -1;
    for (size_t i = 0; i < notes_.size(); ++i)
        if (notes_[i].window.get() == window) return int(i);
    return -1;
}

int NoteManager::RowOf(NoteId id) const {
    for (size_t i = 0; i < notes_.size(); ++i)
        if (notes_[i].id == id) return int(i);
    return -1;
}

int NoteManager::ShownCount() const {
    return int(std::count_if(notes_.begin(), notes_.end(), [](const Note& note) { return note.record.isShow; }));
}

int NoteManager::NotesOnScreen() const {
    return int(std::count_if(notes_.begin(), notes_.end(), [](const Note& note) { return note.OnScreen(); }));
}

// ---- Start-up and the notes' windows

void NoteManager::Start() {
    ViewUpdate update(updatingView_);
    NotesFile::Start start = file_.Load(TableCapacity());
    const LoadResult& loaded = start.loaded;
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
    list_.SetLockCheck(m_locked);
    // What changed while the program did not run (a conflict copy, notes it could not save) is in the file
    // at once, for every other reader.
    if (start.needsSave) Save(Report::LogOnly);
}

// How many notes the table may hold: no more than windows can still be created in this run.
size_t NoteManager::TableCapacity() const {
    const size_t windowsLeft = size_t(kWindowCapacity - m_windowsCreated);
    return std::min(NoteTable::kCapacity, notes_.size() + windowsLeft);
}

// Every record gets a note with a window (hidden until its note is shown) and a list row.
void NoteManager::AdoptRecords(std::vector<NoteRecord> records) {
    ViewUpdate update(updatingView_);
    for (NoteRecord& record : records) {
        // Every note has an identity of its own from the start, so that merges tell notes apart.
        const bool taken = std::any_of(notes_.begin(), notes_.end(),
                                       [&](const Note& other) { return other.record.identity == record.identity; });
        if (record.identity.empty() || taken) record.identity = NewNoteIdentity();
        Note& note = notes_.emplace_back();
        note.id = nextId_++;
        note.record = std::move(record);
        CreateWindowFor(note);
        const int row = int(notes_.size() - 1);
        list_.InsertListRow(row, StoredToListLabel(note.record.text), note.record.isShow);
        if (note.record.isShow) SetShown(row, true);
    }
}

void NoteManager::CreateWindowFor(Note& note) {
    if (m_windowsCreated >= kWindowCapacity) {
        // Listed in the manager and kept in the file, but not on the desktop until the next run.
        services_.log.Failure("no window for a note: this run's " + std::to_string(kWindowCapacity) + " are used up");
        if (!std::exchange(windowsUsedUpTold_, true)) services_.messages.ShowMessage(text::kWindowsUsedUp);
        return;
    }
    const WindowRect rect = PlaceOf(note.record, monitors_);
    const std::string className = "text_" + std::to_string(m_windowsCreated);
    note.window = services_.windows.CreateNoteWindow(className, rect);
    if (!note.window) {
        services_.log.Failure("note window " + className + " could not be created");
        return;
    }
    ++m_windowsCreated;
    note.placed = rect;
    if (m_locked) note.window->SetLocked(true);
    ApplyTopMostFlag(note);
}

void NoteManager::PushLook(Note& note) {
    if (!note.window || note.lookCurrent) return;
    const Appearance appearance = note.preview ? note.preview->appearance : AppearanceOf(note.record);
    note.window->SetLook(LookOf(note.record, appearance));
    note.lookCurrent = true;
}

void NoteManager::OnUserPlaced(const NoteWindow& window, const WindowRect& rect) {
    const int row = RowOfWindow(&window);
    if (row < 0) return;
    Note& note = notes_[size_t(row)];
    note.placed = rect;
    note.record.positionX = rect.left;
    note.record.positionY = rect.top;
    note.record.width = rect.width();
    note.record.height = rect.height();
}

void NoteManager::ApplyTopMostFlag(Note& note) {
    if (!note.window || note.topMost == note.record.isTopWin) return;
    if (note.window->SetTopMost(note.record.isTopWin)) note.topMost = note.record.isTopWin;
    else services_.log.Failure("a note window could not be put above or among other windows");
}

void NoteManager::SetShown(int row, bool shown) {
    Note& note = notes_[size_t(row)];
    note.record.isShow = shown;
    {
        ViewUpdate update(updatingView_);
        list_.SetListCheck(row, shown);
    }
    if (!note.window) return;
    if (shown) PushLook(note);  // a hidden note may have changed meanwhile
    if (note.visible == shown) return;
    if (note.window->Show(shown)) note.visible = shown;
    else services_.log.Failure(shown ? "a note window could not be shown" : "a note window could not be hidden");
}

void NoteManager::SyncNotes() {
    for (Note& note : notes_) {
        note.record.autoStart = m_autoStart;
        if (!note.window || !note.record.isShow) continue;
        PushLook(note);
        ApplyTopMostFlag(note);
    }
}

// ---- Saving

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

void NoteManager::CloseEveryNote() {
    for (Note& note : notes_)
        if (note.window) note.window->Destroy();
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

// ---- The desktop

void NoteManager::OnMonitorsChanged() {
    monitors_ = services_.screens.Monitors();
    for (Note& note : notes_) KeepNoteOnScreen(note);
}

// A note goes back to its stored place whenever that is usable again, and wherever the window system
// moved it meanwhile.
void NoteManager::KeepNoteOnScreen(Note& note) {
    if (!note.window) return;
    const WindowRect target = PlaceOf(note.record, monitors_);
    const std::optional<WindowRect> now = note.window->GetWindowRect();
    if (target == note.placed && now && *now == target) return;
    if (note.window->Place(target)) note.placed = target;
    else services_.log.Failure("a note window could not be moved onto the screen");
}
