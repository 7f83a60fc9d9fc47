#pragma once

#include <string>
#include <vector>

#include "manager/ManagerPresenter.h"
#include "manager/NoteManager.h"

// The notification-area icon's menu, the same on every platform.
enum class TrayCommand { ShowManager, NewNote, ShowAllNotes, RestoreNote, ToggleLock, Help, Exit };

struct TrayItem {
    TrayCommand command;
    const char* text;
    bool separatorBefore;
};

inline constexpr const char* kTrayTooltip = "Skyslate2";
inline constexpr const char* kTrayTooltipLocked = "Skyslate2（便签已锁定）";
// Once, on the very first run, where the icon shows: where the program went.
inline constexpr const char* kFirstRunTrayTitle = "Skyslate2 在这里";
inline constexpr const char* kFirstRunTrayText = "右键单击这个图标打开菜单：新建便签、锁定便签、帮助和退出。";
inline constexpr TrayItem kTrayItems[] = {
    {TrayCommand::ShowManager, "管理界面", false},
    {TrayCommand::NewNote, "新建便签", false},
    {TrayCommand::ShowAllNotes, "显示全部便签", false},
    {TrayCommand::RestoreNote, "恢复删除的便签", false},  // a submenu of the deleted notes
    {TrayCommand::ToggleLock, "锁定便签", false},  // checked while the notes are locked
    {TrayCommand::Help, "帮助", true},
    {TrayCommand::Exit, "退出程序", true},
};

// What the tray's commands go to: the manager dialog for showing it, the notes' owner for the rest.
struct TrayTargets {
    ManagerPresenter& manager;
    NoteManager& notes;
};

// What a menu item, or a double-click on the icon (TrayCommand::ShowManager), does.
void RunTrayCommand(const TrayTargets& targets, TrayCommand command);

// The items of the restore submenu, newest deletion first: when, and how the note begins. Empty when no
// deleted note is kept; the submenu then shows kNothingToRestore, disabled.
inline constexpr const char* kNothingToRestore = "（没有删除的便签）";
// After a note that another writer's version of the file removed.
inline constexpr const char* kRemovedElsewhere = "（其他程序或设备删除）";
std::vector<std::string> RestoreItems(const NoteManager& notes);
// Brings back the note of the index-th restore item.
void RestoreDeletedNote(const TrayTargets& targets, size_t index);
