#include "manager/ManagerPresenter.h"

#include "manager/Choosers.h"
#include "manager/ViewUpdate.h"

ManagerPresenter::ManagerPresenter(ManagerView& view, NoteManager& notes) : view_(view), notes_(notes) {}

void ManagerPresenter::Start() {
    notes_.Start();
    if (notes_.Ended()) return;
    MakeCurrent(0);
}

// The note the dialog leaves gets back its stored look: the manager's preview belongs to its current note.
void ManagerPresenter::MakeCurrent(int row) {
    const int previous = Current();
    if (previous >= 0 && previous != row) notes_.DropPreview(previous, PreviewHolder::Manager);
    current_ = notes_.IdOf(row);
    editStale_ = true;
    ViewUpdate update(updatingView_);
    if (shown_) ShowEditText();
    const int now = Current();
    view_.SetTopMostCheck(now >= 0 && notes_.Record(now).isTopWin);
    if (now >= 0) view_.SelectListRow(now);
}

void ManagerPresenter::ShowEditText() {
    if (!editStale_) return;
    const int row = Current();
    view_.SetEditText(row >= 0 ? TextForEdit(notes_.Record(row)) : EditableText{});
    editStale_ = false;
}

void ManagerPresenter::ShowDialog(bool visible) {
    ViewUpdate update(updatingView_);
    if (visible) ShowEditText();
    shown_ = visible;
    if (!visible) ++hides_;
    view_.ShowManager(visible);
}

void ManagerPresenter::GiveUpUnconfirmed() {
    notes_.DropPreview(Current(), PreviewHolder::Manager);
    editStale_ = true;
}

void ManagerPresenter::ShowManager() {
    if (Current() < 0 && notes_.NoteCount() > 0) MakeCurrent(0);
    ShowDialog(true);
}

void ManagerPresenter::HideManager() {
    ShowDialog(false);
    GiveUpUnconfirmed();
    notes_.SyncNotes();
}

void ManagerPresenter::OnManagerKey(ManagerKey key) {
    // Esc is "取消"; Enter outside the edit does nothing, so that no key ends anything by accident.
    if (key == ManagerKey::Escape) HideManager();
}

void ManagerPresenter::ConfirmChanges(const std::string& editText) {
    const int row = Current();
    if (row >= 0) ConfirmNote(row, editText, Pending());
}

void ManagerPresenter::ConfirmNote(int row, const std::string& editText, const Appearance& appearance) {
    if (!notes_.IsRow(row)) return;
    ShowDialog(false);
    if (row != Current()) notes_.DropPreview(Current(), PreviewHolder::Manager);
    editStale_ = true;  // shows what the note now holds, or gives up what was typed for another note
    notes_.ConfirmChanges(row, editText, appearance);
}

void ManagerPresenter::AddNote() {
    const size_t before = notes_.NoteCount();
    notes_.AddNote();
    if (notes_.NoteCount() == before) return;  // no room, and the user was told
    MakeCurrent(int(notes_.NoteCount()) - 1);
    ShowDialog(true);
    view_.ReadyForTyping();
}

void ManagerPresenter::PickColor() { ChooseForCurrent(&PickColorFor); }

void ManagerPresenter::PickFont() { ChooseForCurrent(&PickFontFor); }

// The picker is modal, but the notes still take clicks: when another dialog moved the manager to
// another note or hid it meanwhile, the pick belongs to nobody and is dropped.
template <typename Choose>
void ManagerPresenter::ChooseForCurrent(Choose choose) {
    const int row = Current();
    if (row < 0) return;
    const NoteId openedFor = current_;
    const int hidesBefore = hides_;
    const std::optional<Appearance> chosen = choose(notes_.PickersToUse(), notes_.ShownAppearance(row));
    if (!chosen || current_ != openedFor || hides_ != hidesBefore || Current() < 0) return;
    notes_.Preview(Current(), PreviewHolder::Manager, *chosen);
}

void ManagerPresenter::SelectNote(int row) {
    // The current note selected again keeps what the user typed and previewed for it.
    if (Echo() || !notes_.IsRow(row) || row == Current()) return;
    MakeCurrent(row);
}

void ManagerPresenter::OnNoteListCheck(int row, bool checked) {
    if (Echo()) return;
    notes_.SetNoteShown(row, checked);  // saved with the next save
}

// The next current note is chosen before the save, whose message box lets other dialogs run.
void ManagerPresenter::DeleteNote() {
    const int row = Current();
    if (row < 0 || !notes_.RemoveNote(row)) return;
    MakeCurrent(0);
    notes_.SyncNotes();
    notes_.SaveSettings();
}

void ManagerPresenter::ApplyTopMost(bool checked) { ApplyTopMost(Current(), checked); }

void ManagerPresenter::ApplyTopMost(int row, bool checked) {
    if (!notes_.IsRow(row)) return;
    if (row == Current()) {
        ViewUpdate update(updatingView_);
        view_.SetTopMostCheck(checked);
    }
    notes_.ApplyTopMost(row, checked);
}

void ManagerPresenter::ApplyAutoStart(bool checked) {
    if (!Echo()) notes_.ApplyAutoStart(checked);
}

void ManagerPresenter::ApplyLock(bool checked) {
    if (!Echo() && checked != notes_.Locked()) notes_.SetLocked(checked);
}

void ManagerPresenter::ShowManagerOn(int row) {
    if (!notes_.IsRow(row)) return;
    if (row != Current()) MakeCurrent(row);
    notes_.HandOverPreview(row, PreviewHolder::QuickSettings, PreviewHolder::Manager);
    ShowDialog(true);
}

void ManagerPresenter::ReloadNotes() {
    notes_.ReloadSettings(shown_ ? std::vector<NoteId>{current_} : std::vector<NoteId>{});
    if (!shown_) editStale_ = true;
    if (Current() < 0) {
        if (notes_.NoteCount() > 0) MakeCurrent(0);
        return;
    }
    ViewUpdate update(updatingView_);
    view_.SelectListRow(Current());
    view_.SetTopMostCheck(notes_.Record(Current()).isTopWin);
}
