#include "manager/NoteManager.h"

#include <algorithm>

#include "manager/ViewUpdate.h"
#include "store/FileIO.h"
#include "store/NoteText.h"
#include "store/Settings.h"

// The owner of the notes: start-up, each note's window, the save and what the file holds afterwards,
// the tray's commands and the desktop's changes. The dialogs' commands are in NoteManagerCommands.cpp.

namespace {

bool SameLook(const NoteRecord& a, const NoteRecord& b) {
    return a.color == b.color && a.fontSize == b.fontSize && a.font == b.font && a.text == b.text;
}

}  // namespace

NoteManager::NoteManager(ManagerView& view, Services services) : view_(view), services_(std::move(services)) {}

NoteManager::~NoteManager() = default;

int NoteManager::RowOfWindow(const NoteWindow* window) const {
    if (!window) return -1;
    for (size_t i = 0; i < notes_.size(); ++i)
        if (notes_[i].window.get() == window) return int(i);
    return -1;
}

int NoteManager::ShownCount() const {
    return int(std::count_if(notes_.begin(), notes_.end(), [](const Note& note) { return note.record.isShow; }));
}

// ---- Start-up and the notes' windows

void NoteManager::Start() {
    ViewUpdate update(updatingView_);
    // Only one copy runs on this file: a temporary file of a save is left over from a crash.
    for (const std::string& removed : RemoveStaleTemporaries(services_.settingsPath))
        services_.log.Failure("removed what an interrupted save left: " + removed);
    NoteState state;
    const LoadResult loaded = LoadSettings(state, services_.settingsPath, TableCapacity());
    if (loaded.outcome == LoadOutcome::Unreadable) {
        saveBlocked_ = true;
        services_.log.Failure("settings not read: " + loaded.problem);
        services_.messages.ShowMessage(text::kReadFailed);
    } else if (loaded.outcome == LoadOutcome::FirstRunNotWritten) {
        services_.log.Failure("first-run settings not written: " + loaded.problem);
    }
    m_autoStart = state.m_autoStart;
    m_locked = state.m_locked;
    layout_ = std::move(state.table.layout);
    monitors_ = services_.screens.Monitors();
    AdoptRecords(std::move(state.table.rows));
    // The registration follows the file's flag; an unread file has no flag to follow.
    if (!saveBlocked_) SetAutostart(services_.autostart, m_autoStart);
    view_.SetAutoStartCheck(m_autoStart);
    MakeCurrent(0);
}

// How many notes the table may hold: no more than windows can still be created in this run.
size_t NoteManager::TableCapacity() const {
    const size_t windowsLeft = size_t(kWindowCapacity - m_windowsCreated);
    return std::min(NoteTable::kCapacity, notes_.size() + windowsLeft);
}

// Every record gets a note with a window (hidden until its note is shown) and a list row.
void NoteManager::AdoptRecords(std::vector<NoteRecord> records) {
    for (NoteRecord& record : records) {
        Note& note = notes_.emplace_back();
        note.record = std::move(record);
        CreateWindowFor(note);
        const int row = int(notes_.size() - 1);
        view_.InsertListRow(row, StoredToListLabel(note.record.text), note.record.isShow);
        if (note.record.isShow) SetShown(row, true);
    }
}

void NoteManager::CreateWindowFor(Note& note) {
    if (m_windowsCreated >= kWindowCapacity) return;
    const NoteRecord& record = note.record;
    const WindowRect rect = KeepOnScreen(
        SaneRect(record.positionX, record.positionY, record.width, record.height), monitors_);
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

void NoteManager::PushRecord(Note& note) {
    if (!note.window || note.previewing || note.lookCurrent) return;
    note.window->SetLook(LookOf(note.record, AppearanceOf(note.record)));
    note.lookCurrent = true;
}

// A window that is not where the program put it was moved or resized by the user: that is the note's
// place now. Otherwise the stored place stays as it was, even where the window had to be adjusted.
void NoteManager::ReadBackPlace(Note& note) {
    const std::optional<WindowRect> rect = note.window->GetWindowRect();
    if (!rect) {
        services_.log.Failure("a note window's place could not be read");
        return;
    }
    if (*rect == note.placed) return;
    note.placed = *rect;
    note.record.positionX = rect->left;
    note.record.positionY = rect->top;
    note.record.width = rect->width();
    note.record.height = rect->height();
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
        view_.SetListCheck(row, shown);
    }
    if (!note.window) return;
    if (shown) PushRecord(note);  // a hidden note may have changed meanwhile
    if (note.visible == shown) return;
    if (note.window->Show(shown)) note.visible = shown;
    else services_.log.Failure(shown ? "a note window could not be shown" : "a note window could not be hidden");
}

void NoteManager::SyncNotes() {
    for (Note& note : notes_) {
        note.record.autoStart = m_autoStart;
        if (!note.window || !note.record.isShow) continue;
        PushRecord(note);
        ReadBackPlace(note);
        ApplyTopMostFlag(note);
    }
}

// ---- Saving

NoteManager::SaveResult NoteManager::Save(Report report, Then then) {
    if (saveBlocked_) {
        Tell(report, text::kNotSavedUnreadable);
        return SaveResult::Blocked;
    }
    const bool quitting = then == Then::Quit;
    NoteState state;
    state.m_autoStart = m_autoStart;
    state.m_locked = m_locked;
    state.table.layout = layout_;
    state.table.rows.reserve(notes_.size());
    // Before quitting the records are lent to the save, not copied: a huge note costs no second copy.
    for (Note& note : notes_) state.table.rows.push_back(quitting ? std::move(note.record) : note.record);
    SaveOptions options;
    options.capacity = TableCapacity();
    options.reload = !quitting;
    std::string error;
    const bool saved = ::SaveSettings(state, services_.settingsPath, options, &error);
    if (quitting)
        for (size_t i = 0; i < notes_.size(); ++i) notes_[i].record = std::move(state.table.rows[i]);
    if (!saved) {
        services_.log.Failure("settings not saved: " + error);
        Tell(report, text::kSaveFailed);
        return SaveResult::Failed;
    }
    if (!quitting) AdoptReload(std::move(state.table));
    return SaveResult::Saved;
}

bool NoteManager::SaveSettings() { return Save(Report::MessageBox) == SaveResult::Saved; }

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
    if (table.rows.size() > kept) {
        ViewUpdate update(updatingView_);
        AdoptRecords(std::vector<NoteRecord>(std::make_move_iterator(table.rows.begin() + long(kept)),
                                             std::make_move_iterator(table.rows.end())));
    }
}

// ---- The tray's commands

void NoteManager::ShowAllNotes() {
    for (size_t i = 0; i < notes_.size(); ++i)
        if (!notes_[i].record.isShow) SetShown(int(i), true);
}

void NoteManager::SetLocked(bool locked) {
    m_locked = locked;
    for (Note& note : notes_)
        if (note.window) note.window->SetLocked(locked);
    Save(Report::MessageBox);
}

// ---- The desktop

void NoteManager::OnMonitorsChanged() {
    monitors_ = services_.screens.Monitors();
    for (Note& note : notes_) KeepNoteOnScreen(note);
}

// A note moved by the program keeps its stored place: it goes back there when the monitor returns.
void NoteManager::KeepNoteOnScreen(Note& note) {
    if (!note.window) return;
    if (note.visible) ReadBackPlace(note);  // a move by the user before the change is the user's
    const WindowRect target = KeepOnScreen(note.placed, monitors_);
    if (target == note.placed) return;
    if (note.window->Place(target)) note.placed = target;
    else services_.log.Failure("a note window could not be moved onto the screen");
}
