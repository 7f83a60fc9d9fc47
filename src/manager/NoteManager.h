#pragma once

#include <memory>
#include <string>
#include <vector>

#include "manager/ManagerViews.h"
#include "manager/Note.h"
#include "notewindow/NoteWindow.h"
#include "notewindow/Placement.h"
#include "store/Autostart.h"
#include "store/NoteRecord.h"

// Everything the manager dialog decides. It is the one owner of the notes (each note's settings together
// with its window), the manager's current note and its pending appearance, and carries out every change
// to notes. The dialogs only forward what the user did, with the facts it needs, as arguments.
class NoteManager {
public:
    static constexpr int kWindowCapacity = 1024;

    // What the manager drives besides its dialog.
    struct Services {
        NoteWindowFactory& windows;
        Screens& screens;
        Pickers& pickers;
        Messages& messages;
        AutostartStore& autostart;
        AppControl& app;
        FailureLog& log;
        std::string settingsPath;
    };

    NoteManager(ManagerView& view, Services services);
    ~NoteManager();
    NoteManager(const NoteManager&) = delete;
    NoteManager& operator=(const NoteManager&) = delete;

    // Loads the settings, creates one window and list row per note and brings autostart in line.
    void Start();
    // Shown notes show what their settings hold (a preview stays while its dialog holds it), and where
    // the user moved them reaches their settings.
    void SyncNotes();
    // Saves the notes; tells the user when the file could not be written.
    bool SaveSettings();

    // The manager dialog's commands. Each acts on the note the dialog shows as current.
    void ConfirmChanges(const std::string& editText);
    void PickColor();
    void PickFont();
    // False when the notes could not be saved: the program then keeps running.
    bool ExitProgram();
    // The session ends: save without asking anyone, close every note, quit.
    void EndSession();
    void HideManager();
    // Shows the dialog on its current note (from the tray, or a second start of the program).
    void ShowManager();
    void OnManagerKey(ManagerKey key);
    // The list's selection moved to row (by a click or the keyboard).
    void SelectNote(int row);
    // The check box of row now shows checked, however it came to.
    void OnNoteListCheck(int row, bool checked);
    void AddNote();
    void DeleteNote();
    void ApplyAutoStart(bool checked);
    void ApplyTopMost(bool checked);

    // The tray's commands (with ShowManager, AddNote and ExitProgram).
    // Every note shown and ticked; saved with the next save, as ticks in the list are.
    void ShowAllNotes();
    // Locked notes let every click through to what lies beneath; saved at once.
    void SetLocked(bool locked);
    bool Locked() const { return m_locked; }

    // The monitors changed: a note that no longer shows a usable part comes back onto one.
    void OnMonitorsChanged();

    // Commands on one given note, for its quick settings dialog.
    void ConfirmChanges(int row, const std::string& editText, const Appearance& appearance);
    // False (and a message) when it is the last note shown.
    bool HideNote(int row);
    void PreviewNote(int row, const Appearance& appearance);
    // The note shows its stored look again: a preview is given up.
    void DropPreview(int row);
    // Shows the manager with this note current, keeping a pending preview for its "确认修改".
    void ShowManagerOn(int row, const Appearance& pending);
    void ApplyTopMost(int row, bool topMost);
    // The pickers, opened on an appearance; nothing when cancelled.
    std::optional<Appearance> ChooseColor(const Appearance& from);
    std::optional<Appearance> ChooseFont(const Appearance& from);
    using Chooser = std::optional<Appearance> (NoteManager::*)(const Appearance&);

    // The state, read-only.
    size_t NoteCount() const { return notes_.size(); }
    bool IsRow(int row) const { return row >= 0 && size_t(row) < notes_.size(); }
    const NoteRecord& Record(int row) const { return notes_.at(size_t(row)).record; }
    NoteWindow* WindowOf(int row) const { return IsRow(row) ? notes_[size_t(row)].window.get() : nullptr; }
    int RowOfWindow(const NoteWindow* window) const;
    int Current() const { return m_current; }
    const Appearance& Pending() const { return m_pending; }
    bool AutoStart() const { return m_autoStart; }
    int ShownCount() const;
    int WindowsCreated() const { return m_windowsCreated; }
    const FileLayout& Layout() const { return layout_; }

private:
    enum class Report { MessageBox, LogOnly };
    enum class SaveResult { Saved, Failed, Blocked };
    enum class Then { GoOn, Quit };  // before quitting, the table need not be read back

    SaveResult Save(Report report, Then then = Then::GoOn);
    void Tell(Report report, const std::string& message);
    void AdoptRecords(std::vector<NoteRecord> records);
    void AdoptReload(NoteTable table);
    void CreateWindowFor(Note& note);
    void KeepNoteOnScreen(Note& note);
    void PushRecord(Note& note);
    void ReadBackPlace(Note& note);
    void ApplyTopMostFlag(Note& note);
    void SetShown(int row, bool shown);
    void RemoveNote(int row);
    void MakeCurrent(int row);
    void ChooseForCurrent(Chooser choose);
    void ShowEditText();
    void ShowDialog(bool visible);
    void CloseEveryNote();
    size_t TableCapacity() const;
    Note* CurrentNote() { return IsRow(m_current) ? &notes_[size_t(m_current)] : nullptr; }

    ManagerView& view_;
    Services services_;
    std::vector<Note> notes_;
    FileLayout layout_;  // what the file holds besides the notes' values, written back unchanged
    std::vector<std::unique_ptr<NoteWindow>> retired_;  // windows of deleted notes: an object serves one window
    std::vector<Monitor> monitors_;
    bool m_autoStart = false;
    bool m_locked = false;
    int m_current = 0;
    Appearance m_pending;
    int m_windowsCreated = 0;
    bool saveBlocked_ = false;   // the file could not be read: never written over in this run
    bool dialogShown_ = false;
    bool editStale_ = false;     // a hidden dialog's edit is filled when it shows: a huge note costs nothing before
    bool updatingView_ = false;  // the view's echoes of the core's own changes are not commands
};

// Runs a note's quick settings dialog unless one is open for that note already.
template <typename RunDialog>
void OpenQuickSettingsOnce(bool& settingOpen, Messages& messages, RunDialog runDialog) {
    if (settingOpen) {
        messages.ShowMessage(text::kSettingAlreadyOpen);
        return;
    }
    settingOpen = true;
    runDialog();
    settingOpen = false;
}
