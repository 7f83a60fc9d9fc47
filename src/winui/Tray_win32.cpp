#include "winui/Tray_win32.h"

#include <shellapi.h>

#include <utility>

#include "manager/Tray.h"
#include "store/Wide_win32.h"
#include "winui/Texts_win32.h"

namespace {

constexpr UINT kIconId = 1;

NOTIFYICONDATAW IconData(HWND owner) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = kIconId;
    return data;
}

}  // namespace

Tray::Tray(HWND owner, Icons icons, const TrayTargets& targets)
    : owner_(owner), icons_(icons), locked_(targets.notes.Locked()), targets_(targets),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    Add();
}

Tray::~Tray() {
    NOTIFYICONDATAW data = IconData(owner_);
    Shell_NotifyIconW(NIM_DELETE, &data);
}

bool Tray::Add() {
    NOTIFYICONDATAW data = IconData(owner_);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMessage;
    data.hIcon = locked_ ? icons_.locked : icons_.normal;
    lstrcpynW(data.szTip, Ui(locked_ ? kTrayTooltipLocked : kTrayTooltip).c_str(), ARRAYSIZE(data.szTip));
    if (!Shell_NotifyIconW(NIM_ADD, &data)) return false;  // no notification area yet: TaskbarCreated adds it
    TellFirstRun();
    return true;
}

// Once, where the icon is: a newcomer learns where the program went.
void Tray::TellFirstRun() {
    if (!targets_.notes.FirstRun() || std::exchange(firstRunTold_, true)) return;
    NOTIFYICONDATAW data = IconData(owner_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    lstrcpynW(data.szInfoTitle, Ui(kFirstRunTrayTitle).c_str(), ARRAYSIZE(data.szInfoTitle));
    lstrcpynW(data.szInfo, Ui(kFirstRunTrayText).c_str(), ARRAYSIZE(data.szInfo));
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Tray::ShowLocked(bool locked) {
    locked_ = locked;
    NOTIFYICONDATAW data = IconData(owner_);
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = locked ? icons_.locked : icons_.normal;
    lstrcpynW(data.szTip, Ui(locked ? kTrayTooltipLocked : kTrayTooltip).c_str(), ARRAYSIZE(data.szTip));
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool Tray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_) {
        Add();  // Explorer restarted: its notification area is new
        return false;  // other windows may want to hear it too
    }
    if (message == WM_COMMAND) return RunCommand(LOWORD(wParam));
    if (message != kMessage) return false;
    switch (LOWORD(lParam)) {
        case WM_LBUTTONDBLCLK: RunTrayCommand(targets_, TrayCommand::ShowManager); break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: ShowMenu(); break;
        default: break;
    }
    return true;
}

void Tray::ShowMenu() {
    HMENU menu = CreatePopupMenu();
    for (UINT i = 0; i < ARRAYSIZE(kTrayItems); ++i) {
        const TrayItem& item = kTrayItems[i];
        if (item.separatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        if (item.command == TrayCommand::RestoreNote) {
            AppendMenuW(menu, MF_POPUP, UINT_PTR(RestoreMenu()), Ui(item.text).c_str());
            continue;
        }
        const bool checked = item.command == TrayCommand::ToggleLock && targets_.notes.Locked();
        AppendMenuW(menu, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), kFirstCommand + i,
                    Ui(item.text).c_str());
    }
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(owner_);  // so that the menu closes when the user clicks elsewhere
    const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, cursor.x, cursor.y,
                                            0, owner_, nullptr));
    DestroyMenu(menu);  // with its submenu
    RunCommand(chosen);
}

// Read when the menu opens: another copy of the program may have deleted notes meanwhile.
HMENU Tray::RestoreMenu() const {
    HMENU restore = CreatePopupMenu();
    const std::vector<std::string> items = RestoreItems(targets_.notes);
    if (items.empty()) AppendMenuW(restore, MF_STRING | MF_GRAYED, 0, Ui(kNothingToRestore).c_str());
    for (UINT i = 0; i < items.size() && i < kRestoreCommands; ++i)
        AppendMenuW(restore, MF_STRING, kFirstRestore + i, Widen(items[i]).c_str());
    return restore;
}

bool Tray::RunCommand(UINT id) {
    if (id >= kFirstRestore && id < kFirstRestore + kRestoreCommands) {
        RestoreDeletedNote(targets_, id - kFirstRestore);
        return true;
    }
    if (id < kFirstCommand || id >= kFirstCommand + ARRAYSIZE(kTrayItems)) return false;
    RunTrayCommand(targets_, kTrayItems[id - kFirstCommand].command);
    return true;
}
