#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "manager/MessageTexts.h"
#include "notewindow/Geometry.h"
#include "store/Autostart.h"
#include "store/Clock.h"
#include "store/FailureLog.h"

// What a front end implements, all of it: the core decides, and a front end only tells it what the user or
// the window system did and shows what it asks. Besides the classes here, three that the settings store
// needs as well: AutostartStore (store/Autostart.h), Clock (store/Clock.h) and FailureLog
// (store/FailureLog.h). Each front end builds these objects in one place, its composition root, and hands
// them to the core there.

// ---- Starting the program

// What starting the program needs of the platform; each front end implements it. The decisions are
// RunProgram's.
class Platform {
public:
    virtual ~Platform() = default;
    virtual bool ChangeFolder(const std::string& folder) = 0;
    virtual std::string CurrentFolder() const = 0;
    virtual bool FileExists(const std::string& path) const = 0;
    // Makes the folder and any missing parents; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& folder) = 0;
    // The user's own folder for the notes of an installed program; "" when there is none.
    virtual std::string PerUserFolder() const = 0;
    // The program runs from the folder it was built in (a developer's copy), not from an installation.
    virtual bool RunsFromBuildFolder() const = 0;
    // The settings file's full path in a folder.
    virtual std::string SettingsPathIn(const std::string& folder) const = 0;
    // Takes the one-copy-per-settings-file lock; false when another copy holds it.
    virtual bool LockSettings(const std::string& settingsPath) = 0;
    // Asks the copy that holds the lock to show its manager in front; false when it cannot be reached.
    virtual bool BringRunningCopyForward(const std::string& settingsPath) = 0;
    // A message the user can act on; detail (a path) is shown after the text as it is.
    virtual void ShowError(const std::string& text, const std::string& detail) = 0;
    // Builds the front end on the settings, starts it and runs the event loop until the program ends.
    virtual int Run(const std::string& folder, const std::string& settingsPath) = 0;
};

// Where the program writes what it answers on the command line: a terminal, or a box where there is none.
class Console {
public:
    virtual ~Console() = default;
    virtual void Print(const std::string& text, bool isError) = 0;
};

// ---- The note windows

inline constexpr int kFontRegular = 0;
inline constexpr int kFontBold = 1;

// What a note window shows: the text in a face and size, filled in a colour.
struct NoteLook {
    std::string text;             // LF line breaks
    uint32_t color = 0xFFFF0000;  // ARGB, opaque
    std::string face;
    float emSize = 0;             // pixels
    int style = kFontRegular;
};

// What the manager needs of a note window; each front end implements it (CLyricsWindow). Calls that
// can fail say so, and then nothing has changed.
class NoteWindow {
public:
    virtual ~NoteWindow() = default;
    // Stores what to show and draws it; a hidden window draws when it is shown.
    virtual void SetLook(NoteLook look) = 0;
    // Shows without taking the focus, or hides.
    virtual bool Show(bool visible) = 0;
    virtual bool SetTopMost(bool topMost) = 0;
    virtual bool Place(const WindowRect& rect) = 0;
    virtual std::optional<WindowRect> GetWindowRect() const = 0;
    // Where its text is painted on the screen (drawn now when a draw is pending); nothing when no pixel is.
    virtual std::optional<WindowRect> TextBounds() = 0;
    // A locked note lets every click through to what lies beneath.
    virtual void SetLocked(bool locked) = 0;
    // Closes the window; the object lives on.
    virtual void Destroy() = 0;
};

// What a note window tells when the user's drag or resize of it has ended: where it is now. Only the
// user's own moves are told, never where the window system put a window.
using UserPlacedHandler = std::function<void(NoteWindow& window, const WindowRect& rect)>;

// Creates note windows: hidden, topmost and borderless, each with a window class of its own.
class NoteWindowFactory {
public:
    virtual ~NoteWindowFactory() = default;
    // Nothing when the window system refused.
    virtual std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) = 0;
};

// The monitors of the desktop as the front end sees them now.
class Screens {
public:
    virtual ~Screens() = default;
    virtual std::vector<Monitor> Monitors() const = 0;
};

// ---- The dialogs and the rest of the desktop

// What a dialog's edit shows of a note: its text with LF line breaks, or only the beginning of a text
// too long to edit there, read-only, followed by the notice text::kTooLongToEdit on a line of its own.
struct EditableText {
    std::string text;
    bool editable = true;
};

// What shows the notes as a whole, in the manager dialog: the note list with a row per note (its check
// box ticked while the note is shown) and the check boxes of the program-wide flags.
class NoteListView {
public:
    virtual ~NoteListView() = default;
    virtual void InsertListRow(int index, const std::string& label, bool checked) = 0;
    virtual void SetListRowText(int index, const std::string& label) = 0;
    virtual void SetListCheck(int index, bool checked) = 0;
    virtual void DeleteListRow(int index) = 0;
    virtual void SetAutoStartCheck(bool checked) = 0;
    virtual void SetLockCheck(bool checked) = 0;
};

// The manager dialog itself, on its current note: the text edit, that note's check box and selected row.
class ManagerView {
public:
    virtual ~ManagerView() = default;
    virtual void SetEditText(const EditableText& text) = 0;
    virtual void SetTopMostCheck(bool checked) = 0;
    virtual void SelectListRow(int index) = 0;  // selected and focused
    virtual void ShowManager(bool visible) = 0;  // shown in front
    // The edit has the keyboard with its whole text selected: what the user types replaces it.
    virtual void ReadyForTyping() = 0;
};

// Keys the manager dialog handles itself rather than its controls.
enum class ManagerKey { Escape, Enter };

// What the font picker reports: face, size in tenths of a point and the colour of its effects box.
struct FontChoice {
    std::string face;
    int32_t pointSizeTenths = 0;
    uint32_t color = 0xFF000000;
};

// The platform's colour and font pickers; both open on the values given and return nothing when cancelled.
class Pickers {
public:
    virtual ~Pickers() = default;
    virtual std::optional<uint32_t> PickColor(uint32_t initial) = 0;
    virtual std::optional<FontChoice> PickFont(const FontChoice& initial) = 0;
};

// Message boxes with an OK button only.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // The program's help, already in the interface's language, under the title text::kHelpTitle.
    virtual void ShowHelp(const std::string& text) = 0;
};

// Ends the program's event loop.
class AppControl {
public:
    virtual ~AppControl() = default;
    virtual void Quit() = 0;
};

// Asks the front end to look at the settings file again later: once the time has passed it calls the
// manager's ReloadNotes, as when the file's folder changed. A later request replaces an earlier one.
class FileWakeup {
public:
    virtual ~FileWakeup() = default;
    virtual void LookAgainAfter(int milliseconds) = 0;
};

// What an open quick settings dialog shows that another dialog can change meanwhile.
class QuickSettingsView {
public:
    virtual ~QuickSettingsView() = default;
    virtual void SetAutoStartCheck(bool checked) = 0;
};

// A burst of changes to the settings folder (a replace is several) is told once, this long after its first:
// well within the second a reload may take.
inline constexpr int kFolderChangeBurstMs = 250;
