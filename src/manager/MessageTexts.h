#pragma once

// The messages the program shows, in Chinese: the front ends show them in the user's language.

namespace text {
inline constexpr const char* kHelpTitle = "Skyslate2 帮助";
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
