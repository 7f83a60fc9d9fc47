#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/FailureLog.h"

// What the manager's handlers drive. Each front end implements these over its own widgets. The core
// only tells the views what to show; what the user did reaches the core as arguments of its commands.

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

namespace text {
inline constexpr const char* kSettingAlreadyOpen = "Setting窗口已经打开！";
inline constexpr const char* kKeepOneShown = "请至少显示一个窗口！";
inline constexpr const char* kKeepOneNote = "请至少保留一个窗口！";
inline constexpr const char* kSaveFailed = "设置文件保存失败！";
inline constexpr const char* kTooManyNotes = "便签数量已达上限！";
inline constexpr const char* kAlreadyRunning = "程序已在运行！";
inline constexpr const char* kCannotOpenFolder = "无法打开设置文件夹：";
inline constexpr const char* kReadFailed =
    "设置文件读取失败！\n为了不覆盖其中的便签，本次运行不会保存设置。请检查文件后重新启动程序。";
inline constexpr const char* kTooLongToEdit = "……（便签太长，这里只显示开头，不能修改。）";
inline constexpr const char* kAutostartTakenOver =
    "开机自启原先打开的是另一个文件夹的便签，现在改为打开这个文件夹的便签。";
inline constexpr const char* kNotSavedUnreadable = "设置文件读取失败，为了不覆盖其中的便签，本次运行不保存设置。";
inline constexpr const char* kWindowsUsedUp = "本次运行的便签窗口已经用完，有的便签要重新启动程序后才能显示。";
}  // namespace text
