#include "manager/NoteManager.h"

#include "manager/ViewUpdate.h"
#include "store/NoteText.h"
#include "store/Settings.h"

// The manager dialog's commands, on the note it shows as current, and the commands on a given note
// that the quick settings dialogs use.

namespace {

// A new note: shown, topmost, opaque blue, the welcome text, 1200 x 500 at (500, 500).
NoteRecord NewNote() {
    NoteRecord note = FirstRunNote();
    note.color = 0xFF0000FF;
    note.width = 1200;
    note.height = 500;
    return note;
}

}  // namespace

// ---- The manager dialog's commands

void NoteManager::MakeCurrent(int row) {
    m_current = row;
    ViewUpdate update(updatingView_);
    const Note* note = CurrentNote();
    editStale_ = true;
    if (dialogShown_) ShowEditText();
    m_pending = note ? AppearanceOf(note->record) : Appearance{};
    view_.SetTopMostCheck(note && note->record.isTopWin);
    if (note) view_.SelectListRow(row);
}

void NoteManager::ShowEditText() {
    if (!editStale_) return;
    const Note* note = CurrentNote();
    view_.SetEditText(note ? TextForEdit(note->record) : EditableText{});
    editStale_ = false;
}

void NoteManager::ShowDialog(bool visible) {
    ViewUpdate update(updatingView_);
    if (visible) ShowEditText();
    dialogShown_ = visible;
    view_.ShowManager(visible);
}

void NoteManager::ShowManager() { ShowDialog(true); }

void NoteManager::ConfirmChanges(const std::string& editText) { ConfirmChanges(m_current, editText, m_pending); }

void NoteManager::PickColor() { ChooseForCurrent(&NoteManager::ChooseColor); }

void NoteManager::PickFont() { ChooseForCurrent(&NoteManager::ChooseFont); }

// What is picked becomes the pending appearance and shows on the note until it is confirmed or given up.
void NoteManager::ChooseForCurrent(Chooser choose) {
    if (!CurrentNote()) return;
    if (const std::optional<Appearance> chosen = (this->*choose)(m_pending)) {
        m_pending = *chosen;
        PreviewNote(m_current, m_pending);
    }
}

std::optional<Appearance> NoteManager::ChooseColor(const Appearance& from) {
    const std::optional<uint32_t> color = services_.pickers.PickColor(from.color);
    if (!color) return std::nullopt;
    Appearance chosen = from;
    chosen.color = *color | 0xFF000000u;
    return chosen;
}

std::optional<Appearance> NoteManager::ChooseFont(const Appearance& from) {
    const std::optional<FontChoice> choice = services_.pickers.PickFont({from.font, from.fontSize, from.color});
    if (!choice) return std::nullopt;
    return Appearance{choice->color | 0xFF000000u, choice->face, choice->pointSizeTenths};
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
    return true;
}

void NoteManager::EndSession() {
    SyncNotes();
    Save(Report::LogOnly, Then::Quit);  // nobody may be there to answer a message box
    CloseEveryNote();
    services_.app.Quit();
}

void NoteManager::HideManager() {
    ShowDialog(false);
    // "取消": what was picked and not confirmed is given up, on the note and in the pending values.
    DropPreview(m_current);
    if (const Note* note = CurrentNote()) m_pending = AppearanceOf(note->record);
    SyncNotes();
}

void NoteManager::OnManagerKey(ManagerKey key) {
    // Esc is "取消"; Enter outside the edit does nothing, so that no key ends anything by accident.
    if (key == ManagerKey::Escape) HideManager();
}

void NoteManager::SelectNote(int row) {
    // The current note selected again keeps what the user typed and previewed for it.
    if (updatingView_ || !IsRow(row) || row == m_current) return;
    DropPreview(m_current);
    MakeCurrent(row);
}

void NoteManager::OnNoteListCheck(int row, bool checked) {
    if (updatingView_ || !IsRow(row) || notes_[size_t(row)].record.isShow == checked) return;
    SetShown(row, checked);  // saved with the next save
}

void NoteManager::AddNote() {
    if (notes_.size() >= NoteTable::kCapacity || m_windowsCreated >= kWindowCapacity) {
        services_.messages.ShowMessage(text::kTooManyNotes);
        return;
    }
    {
        ViewUpdate update(updatingView_);
        AdoptRecords({NewNote()});
    }
    SyncNotes();
    Save(Report::MessageBox);
}

void NoteManager::DeleteNote() {
    if (notes_.size() == 1) {
        services_.messages.ShowMessage(text::kKeepOneNote);
        return;
    }
    if (!CurrentNote()) return;
    RemoveNote(m_current);
    SyncNotes();
    Save(Report::MessageBox);
    MakeCurrent(0);
}

void NoteManager::RemoveNote(int row) {
    Note& note = notes_[size_t(row)];
    if (note.window) {
        note.window->Destroy();
        retired_.push_back(std::move(note.window));
    }
    notes_.erase(notes_.begin() + row);
    ViewUpdate update(updatingView_);
    view_.DeleteListRow(row);
}

void NoteManager::ApplyAutoStart(bool checked) {
    m_autoStart = checked;
    {
        ViewUpdate update(updatingView_);
        view_.SetAutoStartCheck(checked);
    }
    Save(Report::MessageBox);
    SetAutostart(services_.autostart, m_autoStart);
}

void NoteManager::ApplyTopMost(bool checked) { ApplyTopMost(m_current, checked); }

// ---- Commands on a given note

void NoteManager::ConfirmChanges(int row, const std::string& editText, const Appearance& appearance) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    if (IsEditable(note.record)) note.record.text = TextToStored(editText);
    note.record.color = appearance.color;
    note.record.font = appearance.font;
    note.record.fontSize = appearance.fontSize;
    note.lookCurrent = false;
    note.previewing = false;
    {
        ViewUpdate update(updatingView_);
        view_.SetListRowText(row, StoredToListLabel(note.record.text));
        if (row == m_current) MakeCurrent(row);  // the manager shows what its current note now holds
        ShowDialog(false);
    }
    SyncNotes();
    Save(Report::MessageBox);
}

bool NoteManager::HideNote(int row) {
    if (!IsRow(row)) return false;
    if (ShownCount() <= 1) {
        services_.messages.ShowMessage(text::kKeepOneShown);
        return false;
    }
    SetShown(row, false);
    SyncNotes();
    Save(Report::MessageBox);
    return true;
}

void NoteManager::PreviewNote(int row, const Appearance& appearance) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    if (!note.window) return;
    note.window->SetLook(LookOf(note.record, appearance));
    note.previewing = true;
    note.lookCurrent = false;
}

void NoteManager::DropPreview(int row) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    note.previewing = false;
    PushRecord(note);
}

void NoteManager::ShowManagerOn(int row, const Appearance& pending) {
    if (!IsRow(row)) return;
    if (row != m_current) DropPreview(m_current);
    MakeCurrent(row);
    m_pending = pending;
    ShowDialog(true);
}

void NoteManager::ApplyTopMost(int row, bool topMost) {
    if (!IsRow(row)) return;
    Note& note = notes_[size_t(row)];
    note.record.isTopWin = topMost;
    if (row == m_current) {
        ViewUpdate update(updatingView_);
        view_.SetTopMostCheck(topMost);
    }
    Save(Report::MessageBox);
    ApplyTopMostFlag(notes_[size_t(row)]);  // the save may have added notes
}
