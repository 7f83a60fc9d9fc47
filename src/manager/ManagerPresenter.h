#pragma once

#include <optional>
#include <string>

#include "frontend/FrontEnd.h"
#include "manager/NoteManager.h"

// The manager dialog: which note it is on, whether it is shown and whether its edit still has to be
// filled. It turns what the user did in the dialog into commands of the notes' owner and shows what the
// owner holds; the owner never calls it. What the dialog's "确认修改" stores is what its note shows: a
// preview it picked (held on the note) or else the stored look.
class ManagerPresenter {
public:
    ManagerPresenter(ManagerView& view, NoteManager& notes);
    ManagerPresenter(const ManagerPresenter&) = delete;
    ManagerPresenter& operator=(const ManagerPresenter&) = delete;

    // Starts the notes and puts the dialog on the first one.
    void Start();

    // The dialog's own commands, on its current note.
    void ConfirmChanges(const std::string& editText);
    void PickColor();
    void PickFont();
    void HideManager();  // "取消", Esc: what was picked or typed and not confirmed is given up
    void OnManagerKey(ManagerKey key);
    // The list's selection moved to row (by a click or the keyboard).
    void SelectNote(int row);
    // The check box of row now shows checked, however it came to.
    void OnNoteListCheck(int row, bool checked);
    void DeleteNote();
    // "增加便签", the tray's 新建便签: a new note, shown in the dialog with its text ready for typing.
    void AddNote();
    void ApplyTopMost(bool checked);
    void ApplyAutoStart(bool checked);
    void ApplyLock(bool checked);

    // Shows the dialog on its current note (from the tray, or a second start of the program).
    void ShowManager();
    // A quick settings dialog hands its note over: the manager shows on it, with that dialog's preview.
    void ShowManagerOn(int row);
    // Another dialog stored a note's changes; the manager hides and gives up what it had not stored.
    void ConfirmNote(int row, const std::string& editText, const Appearance& appearance);
    // The settings file changed on disk: another writer's notes join these. The note the shown dialog is on
    // stays, with what the user typed; a hidden dialog shows the note as it now is.
    void ReloadNotes();
    // Another dialog changed whether a note stays on top.
    void ApplyTopMost(int row, bool checked);

    int Current() const { return notes_.RowOf(current_); }
    // What "确认修改" would store: what the current note shows.
    Appearance Pending() const { return notes_.ShownAppearance(Current()); }

private:
    void MakeCurrent(int row);
    void GiveUpUnconfirmed();
    void ShowEditText();
    void ShowDialog(bool visible);
    template <typename Choose>
    void ChooseForCurrent(Choose choose);
    bool Echo() const { return updatingView_ || notes_.UpdatingView(); }

    ManagerView& view_;
    NoteManager& notes_;
    NoteId current_ = 0;
    bool shown_ = false;
    int hides_ = 0;  // a pick made while the dialog was hidden in between belongs to nobody
    bool editStale_ = true;      // a hidden dialog's edit is filled when it shows: a huge note costs nothing before
    bool updatingView_ = false;  // the view's echoes of the presenter's own changes are not commands
};
