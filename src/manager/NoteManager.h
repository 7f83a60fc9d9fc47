#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frontend/FrontEnd.h"
#include "manager/Note.h"
#include "frontend/FrontEnd.h"
#include "notewindow/Placement.h"
#include "store/Autostart.h"
#include "store/Clock.h"
#include "store/DeletedNotes.h"
#include "store/NoteRecord.h"
#include "store/NotesFile.h"

// The one owner of the notes: each note's settings with its window, the settings file and the
// program-wide flags. Every change to a note is one of its commands, which name the note by its row and
// take what the user chose as arguments. The dialogs keep their own state and ask it.
class NoteManager {
public:
    static constexpr int kWindowCapacity = 1024;

    // What the owner drives besides the note list.
    struct Services {
        NoteWindowFactory& windows;
        Screens& screens;
        Pickers& pickers;
        Messages& messages;
        AutostartStore& autostart;
        AppControl& app;
        FailureLog& log;
        Clock& clock;
        FileWakeup& wakeup;
        std::string settingsPath;
        std::string dataFolder;  // this machine's own copies ("": none are kept)
        UiLanguage language = UiLanguage::Chinese;  // of the notes the program writes itself
        std::string computerName;                   // as sync tools name this machine's conflict copies
        SettleTimes settle;
    };

    NoteManager(NoteListView& list, Services services);
    ~NoteManager();
    NoteManager(const NoteManager&) = delete;
    NoteManager& operator=(const NoteManager&) = delete;

    // Loads the settings, creates one window and list row per note and brings autostart in line. Stops
    // early when the session ended meanwhile (during a message box).
    void Start();
    // Shown notes show what they should: their record or a preview.
    void SyncNotes();
    // The user dragged or resized a note's window: that is the note's place now, saved with the next save.
    void OnUserPlaced(const NoteWindow& window, const WindowRect& rect);
    // Saves the notes; tells the user when the file could not be written.
    bool SaveSettings();
    // False when the notes could not be saved: the program then keeps running.
    bool ExitProgram();
    // The session ends: save without asking anyone, close every note, quit.
    void EndSession();
    bool Ended() const { return ended_; }

    // Commands on the notes as a whole (the tray's, the manager's).
    void AddNote();
    // Every note shown and ticked; saved with the next save, as ticks in the list are.
    void ShowAllNotes();
    // Locked notes let every click through to what lies beneath; saved at once.
    void SetLocked(bool locked);
    // Told whenever the notes are locked or unlocked, and at start (the tray's icon shows it).
    void WatchLocked(std::function<void(bool locked)> watch) { lockWatch_ = std::move(watch); }
    // The user's choice: takes over another folder's login start, and says so.
    void ApplyAutoStart(bool checked);
    // The monitors changed: a note goes where it is stored, or onto a monitor if that is not usable.
    void OnMonitorsChanged();
    // The settings file's folder changed (or the time asked for has passed): what another writer saved, once
    // they are done writing it, and the conflict copies a sync tool left, join the notes; a save that had to
    // wait for them is made. Notes in use (inUse, and those a dialog or preview works on) are never removed
    // by another writer's delete.
    void ReloadSettings(const std::vector<NoteId>& inUse = {});
    // The notes the user deleted, newest first, and bringing one of them back where it was.
    std::vector<DeletedNote> DeletedNotes() const;
    bool RestoreNote(size_t index);

    // Commands on one note.
    void ConfirmChanges(int row, const std::string& editText, const Appearance& appearance);
    // False (and a message) when it is the last note the user can see.
    bool HideNote(int row);
    // The list's check box of the note; saved with the next save.
    void SetNoteShown(int row, bool shown);
    // Removes the note without saving; false (and a message) when it is the only one.
    bool RemoveNote(int row);
    void ApplyTopMost(int row, bool topMost);
    // The note shows an appearance that is not stored yet; the holder takes it over from anyone.
    void Preview(int row, PreviewHolder holder, const Appearance& appearance);
    // The note shows its stored look again, if the holder still holds its preview.
    void DropPreview(int row, PreviewHolder holder);
    void HandOverPreview(int row, PreviewHolder from, PreviewHolder to);
    // Marks the note's quick settings dialog open; false when one is open already.
    bool BeginSettingsDialog(int row);
    void EndSettingsDialog(const NoteWindow& window);

    // The state, read-only.
    size_t NoteCount() const { return notes_.size(); }
    bool IsRow(int row) const { return row >= 0 && size_t(row) < notes_.size(); }
    const NoteRecord& Record(int row) const { return notes_.at(size_t(row)).record; }
    NoteWindow* WindowOf(int row) const { return IsRow(row) ? notes_[size_t(row)].window.get() : nullptr; }
    int RowOfWindow(const NoteWindow* window) const;
    int RowOf(NoteId id) const;
    NoteId IdOf(int row) const { return IsRow(row) ? notes_[size_t(row)].id : 0; }
    // What the note shows: a preview, or else its stored appearance.
    Appearance ShownAppearance(int row) const;
    std::optional<PreviewHolder> PreviewHolderOf(int row) const;
    bool AutoStart() const { return m_autoStart; }
    bool Locked() const { return m_locked; }
    // There was no settings file at start: the program runs for the first time here.
    bool FirstRun() const { return firstRun_; }
    int ShownCount() const;
    int WindowsCreated() const { return m_windowsCreated; }
    const FileLayout& Layout() const { return layout_; }
    Pickers& PickersToUse() const { return services_.pickers; }
    UiLanguage Language() const { return services_.language; }
    Messages& MessagesToUse() const { return services_.messages; }
    // The view's echoes of the owner's own changes are not commands.
    bool UpdatingView() const { return updatingView_; }

private:
    enum class Report { MessageBox, LogOnly };
    enum class SaveResult { Saved, Deferred, Failed, Blocked };
    using Then = NotesFile::Then;

    // The notes and their file (NoteManager.cpp).
    size_t TableCapacity() const;
    SaveResult Save(Report report, Then then = Then::GoOn);
    std::vector<NoteId> TakeBack(NotesFile::Saved& saved, bool lent);
    SaveResult SaveFailed(Report report, const std::string& why);
    void Tell(Report report, const std::string& message);
    void AdoptReload(NoteTable table);
    std::vector<NoteId> AdoptMerge(NotesFile::Merged merged);
    NoteState OurVersion() const;
    NoteState LentVersion();  // the records themselves, for a save before quitting: a huge note is not copied
    NoteState VersionOf(std::vector<NoteRecord> rows) const;  // with the flags and what else the file holds
    std::vector<bool> InUse(const std::vector<NoteId>& inUse) const;
    std::vector<std::string> Identities() const;

    // Each note with its window and list row (NoteWindows.cpp); these call nothing above them.
    int NotesOnScreen() const;
    void AdoptRecords(std::vector<NoteRecord> records);
    void CreateWindowFor(Note& note);
    void PushLook(Note& note);
    void ApplyTopMostFlag(Note& note);
    void SetShown(int row, bool shown);
    void UpdateNote(int row, NoteRecord record);
    void SetFlags(bool autoStart, bool locked);
    void DropNote(int row);
    void CloseEveryNote();
    void KeepNoteOnScreen(Note& note);
    bool PlaceClearOfOthers(const std::vector<NoteId>& setAside);
    bool PlaceClearOfOthers(Note& note);
    void FollowScale(Note& note);
    void ShowLockState();

    // The commands' own (NoteCommands.cpp).
    bool RoomForANote();

    NoteListView& list_;
    Services services_;
    std::vector<Note> notes_;
    FileLayout layout_;  // what the file holds besides the notes' values, written back unchanged
    std::vector<std::unique_ptr<NoteWindow>> retired_;  // windows of deleted notes: an object serves one window
    std::vector<Monitor> monitors_;
    NotesFile file_;
    bool m_autoStart = false;
    bool m_locked = false;
    bool firstRun_ = false;
    std::function<void(bool)> lockWatch_;
    int m_windowsCreated = 0;
    NoteId nextId_ = 1;
    bool saveBlocked_ = false;   // the file could not be read: never written over in this run
    bool savePending_ = false;   // a save waits for another writer to finish the file
    bool windowsUsedUpTold_ = false;
    bool ended_ = false;
    bool updatingView_ = false;
};
