#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the manager's handlers drive. Each front end implements these over its own widgets.

// The manager dialog and its controls: the text edit, the two check boxes and the note list.
class ManagerView {
public:
    virtual ~ManagerView() = default;
    virtual void SetEditText(const std::string& text) = 0;  // CR LF line breaks
    virtual std::string EditText() const = 0;
    virtual void SetAutoStartCheck(bool checked) = 0;
    virtual bool AutoStartCheck() const = 0;
    virtual void SetTopMostCheck(bool checked) = 0;
    virtual bool TopMostCheck() const = 0;
    virtual void InsertListRow(int index, const std::string& label) = 0;
    virtual void SetListRowText(int index, const std::string& label) = 0;
    virtual void SetListCheck(int index, bool checked) = 0;
    virtual void DeleteListRow(int index) = 0;
    virtual int ListRowCount() const = 0;
    virtual void SelectListRow(int index) = 0;  // selected and focused
    virtual void ShowManager(bool visible) = 0;
};

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

namespace text {
inline constexpr const char* kSettingAlreadyOpen = "Setting窗口已经打开！";
inline constexpr const char* kKeepOneShown = "请至少显示一个窗口！";
inline constexpr const char* kKeepOneNote = "请至少保留一个窗口！";
inline constexpr const char* kSaveFailed = "设置文件保存失败！";
inline constexpr const char* kTooManyNotes = "便签数量已达上限！";
inline constexpr const char* kAlreadyRunning = "程序已在运行！";
}  // namespace text
