#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/Autostart.h"
#include "manager/ManagerViews.h"
#include "store/NoteRecord.h"
#include "notewindow/NoteWindow.h"

// Everything the manager dialog decides: it owns the note state and the note windows, and carries out
// every change to notes. The dialog only forwards its controls' events here.
class NoteManager {
public:
    static constexpr int kWindowCapacity = 1024;

    struct Services {
        ManagerView& view;
        NoteWindowFactory& windows;
        Pickers& pickers;
        Messages& messages;
        AutostartStore& autostart;
        AppControl& app;
        std::string settingsPath;
    };

    explicit NoteManager(Services services);

    // Loads the settings, creates one window and list row per note and brings autostart in line.
    void Start();
    // Pushes every shown row into its window and reads its rectangle back; hides the hidden ones.
    void SyncNotes();
    // Saves the table; tells the user when the file could not be written.
    bool SaveSettings();

    // Commands of the manager dialog.
    void ConfirmChanges();
    void PickColor();
    void PickFont();
    void ExitProgram();
    void HideManager();
    // A click in the note list: on hitRow's check box it flips that note's visibility; then selectedRow
    // (or -1) becomes the current note.
    void OnNoteListClick(int hitRow, bool onCheckBox, int selectedRow);
    void AddNote();
    void DeleteNote();
    void ApplyAutoStart();
    void ApplyTopMost();
    void OnQueryEndSession() { ExitProgram(); }
    // True for the first two paints: the dialog hides itself then, unless it was asked for already.
    bool HideOnPaint();
    // Shows the dialog at the user's request; later paints no longer hide it.
    void ShowManager();

    NoteState& State() { return state_; }
    const NoteState& State() const { return state_; }
    ManagerView& View() { return services_.view; }
    Messages& UserMessages() { return services_.messages; }
    NoteWindow* WindowOf(int row) const;
    // The row whose window this is, or -1.
    int RowOfWindow(const NoteWindow* window) const;
    bool IsRow(int row) const { return row >= 0 && size_t(row) < state_.table.count(); }
    void LoadPendingFrom(int row);
    int WindowsCreated() const { return m_windowsCreated; }

private:
    void CreateWindowForRow(size_t row, int32_t width, int32_t height);
    void PushRowIntoWindow(size_t row, NoteWindow& window);
    void AdoptNewRows();
    void CompactDeletedRows();
    void DropDeletedRows();
    NoteRecord* CurrentRow();
    NoteWindow* CurrentWindow() const;

    Services services_;
    NoteState state_;
    std::vector<std::unique_ptr<NoteWindow>> m_windowPool;  // every window created in this run
    std::vector<NoteWindow*> m_noteWindows;                 // the window of row i
    int m_windowsCreated = 0;
    int m_paintHideCount = 0;
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
