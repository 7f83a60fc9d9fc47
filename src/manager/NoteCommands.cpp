#include <algorithm>

#include "manager/CommandRules.h"
#include "manager/NoteManager.h"
#include "manager/ViewUpdate.h"
#include "store/IniFile.h"
#include "store/NoteText.h"
#include "store/Settings.h"

// The owner's commands: on the notes as a whole, and on one note named by its row. Each saves through
// NoteManager.cpp and shows through NoteWindows.cpp.

namespace {

// A new note: the first-run note, wider and in blue.
NoteRecord NewNote(UiLanguage language) {
    NoteRecord note = FirstRunNote(language);
    note.color = kNewNoteColor;
    note.width = kNewNoteWidth;
    return note;
}

// A step down and to the right: the next note's text starts below the last one's first line.
constexpr Point kNewNoteStep = {40, 60};

// The default place, or when a note is there, a step on from the newest note until a place is free,
// so that two new texts never print over each other.
Point NewNotePlace(const std::vector<Point>& placesOldestFirst, Point place) {
    const auto taken = [&](Point p) {
        return std::any_of(placesOldestFirst.begin(), placesOldestFirst.end(),
                           [&](Point other) { return other.x == p.x && other.y == p.y; });
    };
    if (!taken(place)) return place;
    place = placesOldestFirst.back();
    do {
        place = {place.x + kNewNoteStep.x, place.y + kNewNoteStep.y};
    } while (taken(place));
    return place;
}

}  // namespace

// False, and the user told, when no further note fits in the table or in this run's windows.
bool NoteManager::RoomForANote() {
    if (MayAdd({notes_.size(), NoteTable::kCapacity, kWindowCapacity - m_windowsCreated})) return true;
    services_.messages.ShowMessage(text::kTooManyNotes);
    return false;
}

void NoteManager::AddNote() {
    if (!RoomForANote()) return;
    std::vector<Point> places;
    for (const Note& note : notes_) places.push_back({note.record.positionX, note.record.positionY});
    NoteRecord note = NewNote(services_.language);
    const Point place = NewNotePlace(places, {note.positionX, note.positionY});
    note.positionX = place.x;
    note.positionY = place.y;
    AdoptRecords({std::move(note)});
    SyncNotes();
    PlaceClearOfOthers(notes_.back());  // the step from the newest note may not clear a taller text
    Save(Report::MessageBox);
}

void NoteManager::ShowAllNotes() {
    for (size_t i = 0; i < notes_.size(); ++i)
        if (!notes_[i].record.isShow) SetShown(int(i), true);
}

void NoteManager::SetLocked(bool locked) {
    m_locked = locked;
    {
        ViewUpdate update(updatingView_);
        ShowLockState();
    }
    for (Note& note : notes_)
        if (note.window) note.window->SetLocked(locked);
    Save(Report::MessageBox);
}

void NoteManager::ApplyAutoStart(bool checked) {
    m_autoStart = checked;
    {
        ViewUpdate update(updatingView_);
        list_.SetAutoStartCheck(checked);
    }
    Save(Report::MessageBox);
    if (ApplyUserChoice(services_.autostart, m_autoStart) == AutostartChange::TookOver)
        services_.messages.ShowMessage(text::kAutostartTakenOver);
}

void NoteManager::ConfirmChanges(int row, const std::string& editText, const Appearance& appearance) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    // Stored as it will be written: any line break (a pasted bare LF too) becomes the marker now, so that
    // the list and the window show what the file holds.
    if (IsEditable(note.record)) note.record.text = WritableValue(editText);
    note.record.color = appearance.color;
    note.record.font = appearance.font;
    note.record.fontSize = appearance.fontSize;
    note.preview.reset();  // stored now, whoever picked it
    note.lookCurrent = false;
    {
        ViewUpdate update(updatingView_);
        list_.SetListRowText(row, StoredToListLabel(note.record.text));
    }
    SyncNotes();
    Save(Report::MessageBox);
}

bool NoteManager::HideNote(int row) {
    if (!IsRow(row)) return false;
    if (!MayHide({NotesOnScreen(), notes_[size_t(row)].OnScreen()})) {
        services_.messages.ShowMessage(text::kKeepOneShown);
        return false;
    }
    SetShown(row, false);
    SyncNotes();
    Save(Report::MessageBox);
    return true;
}

void NoteManager::SetNoteShown(int row, bool shown) {
    if (!IsRow(row) || notes_[size_t(row)].record.isShow == shown) return;
    SetShown(row, shown);
}

bool NoteManager::RemoveNote(int row) {
    if (!MayDelete(notes_.size())) {
        services_.messages.ShowMessage(text::kKeepOneNote);
        return false;
    }
    if (!IsRow(row)) return false;
    Note& note = notes_[size_t(row)];
    file_.KeepDeleted({note.record}, DeletedBy::Here);  // first, so that a note is never gone without a way back
    DropNote(row);
    return true;
}

void NoteManager::ApplyTopMost(int row, bool topMost) {
    if (!IsRow(row)) return;
    notes_[size_t(row)].record.isTopWin = topMost;
    ApplyTopMostFlag(notes_[size_t(row)]);  // before the save, whose merge may move rows
    Save(Report::MessageBox);
}

void NoteManager::Preview(int row, PreviewHolder holder, const Appearance& appearance) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    note.preview = ::Preview{holder, appearance};
    note.lookCurrent = false;
    PushLook(note);
}

void NoteManager::DropPreview(int row, PreviewHolder holder) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    if (!note.preview || note.preview->holder != holder) return;
    note.preview.reset();
    note.lookCurrent = false;
    PushLook(note);
}

void NoteManager::HandOverPreview(int row, PreviewHolder from, PreviewHolder to) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    if (note.preview && note.preview->holder == from) note.preview->holder = to;
}

bool NoteManager::BeginSettingsDialog(int row) {
    if (!IsRow(row) || notes_[size_t(row)].settingsOpen) return false;
    notes_[size_t(row)].settingsOpen = true;
    return true;
}

void NoteManager::EndSettingsDialog(const NoteWindow& window) {
    const int row = RowOfWindow(&window);
    if (row >= 0) notes_[size_t(row)].settingsOpen = false;
}

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
