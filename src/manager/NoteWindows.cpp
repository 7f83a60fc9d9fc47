#include <algorithm>
#include <utility>

#include "manager/NoteManager.h"
#include "manager/ViewUpdate.h"
#include "store/NoteText.h"
#include "store/SharedFiles.h"

// Each note with its window and its list row: what the window shows and where, what the user did to it,
// and the desktop's changes. Calls nothing of the file or the commands.

namespace {

bool SamePlace(const NoteRecord& a, const NoteRecord& b) {
    return a.positionX == b.positionX && a.positionY == b.positionY && a.width == b.width && a.height == b.height;
}

}  // namespace

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

Appearance NoteManager::ShownAppearance(int row) const {
    if (!IsRow(row)) return {};
    const Note& note = notes_[size_t(row)];
    return note.preview ? note.preview->appearance : AppearanceOf(note.record);
}

std::optional<PreviewHolder> NoteManager::PreviewHolderOf(int row) const {
    if (!IsRow(row) || !notes_[size_t(row)].preview) return std::nullopt;
    return notes_[size_t(row)].preview->holder;
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
    note.scale = ScaleOf(note.record, monitors_);
    note.window->SetLook(LookOf(note.record, appearance, note.scale));
    note.lookCurrent = true;
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

void NoteManager::OnUserPlaced(const NoteWindow& window, const WindowRect& rect) {
    const int row = RowOfWindow(&window);
    if (row < 0) return;
    Note& note = notes_[size_t(row)];
    const bool resized = rect.width() != note.placed.width() || rect.height() != note.placed.height();
    note.placed = rect;
    note.record.positionX = rect.left;
    note.record.positionY = rect.top;
    const double scale = ScaleOf(note.record, monitors_);
    if (resized) {
        note.record.width = Unscaled(rect.width(), scale);
        note.record.height = Unscaled(rect.height(), scale);
    } else if (scale != note.scale) {
        FollowScale(note);  // dropped on a monitor of another scale: the note keeps its apparent size
    }
}

// The note's window takes the size and text of its monitor's scale.
void NoteManager::FollowScale(Note& note) {
    if (!note.window) return;
    const WindowRect target = PlaceOf(note.record, monitors_);
    if (note.window->Place(target)) note.placed = target;
    else services_.log.Failure("a note window could not take the size of its monitor's scale");
    note.lookCurrent = false;
    if (note.record.isShow) PushLook(note);
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

// The manager's check box and whoever watches (the tray's icon) show whether the notes are locked.
void NoteManager::ShowLockState() {
    list_.SetLockCheck(m_locked);
    if (lockWatch_) lockWatch_(m_locked);
}

void NoteManager::SetFlags(bool autoStart, bool locked) {
    ViewUpdate update(updatingView_);
    if (autoStart != m_autoStart) list_.SetAutoStartCheck(autoStart);
    m_autoStart = autoStart;
    if (locked == m_locked) return;
    m_locked = locked;
    ShowLockState();
    for (Note& note : notes_)
        if (note.window) note.window->SetLocked(locked);
}

void NoteManager::DropNote(int row) {
    Note& note = notes_[size_t(row)];
    if (note.window) {
        note.window->Destroy();
        retired_.push_back(std::move(note.window));
    }
    notes_.erase(notes_.begin() + row);
    ViewUpdate update(updatingView_);
    list_.DeleteListRow(row);
}

void NoteManager::CloseEveryNote() {
    for (Note& note : notes_)
        if (note.window) note.window->Destroy();
}

void NoteManager::OnMonitorsChanged() {
    monitors_ = services_.screens.Monitors();
    for (Note& note : notes_) {
        if (note.window && ScaleOf(note.record, monitors_) != note.scale) note.lookCurrent = false;
        KeepNoteOnScreen(note);
        if (note.record.isShow) PushLook(note);
    }
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

// A new note, or a text a conflict set aside beside its note, would print over another: it moves below
// what it would cover.
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
        services_.log.Failure("a note could not be moved clear of the others");
        return false;
    }
    note.placed = target;
    note.record.positionX += by.x;
    note.record.positionY += by.y;
    return true;
}
