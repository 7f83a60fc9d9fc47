#pragma once

#include <windows.h>

#include "manager/Tray.h"

// The program's icon in the notification area: double-click for the manager, a menu for the rest. Its
// messages arrive at a top-level window of the program (the manager dialog), which also hears when
// Explorer restarts and the icon must be added again.
class Tray {
public:
    struct Icons {
        HICON normal;
        HICON locked;  // while the notes are locked
    };
    Tray(HWND owner, Icons icons, const TrayTargets& targets);
    ~Tray();
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // True when the message was the tray's: its own, or a WM_COMMAND of one of its menu items.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowLocked(bool locked);

    static constexpr UINT kMessage = WM_APP + 7;
    static constexpr UINT kFirstCommand = 100;  // menu item i is command kFirstCommand + i
    static constexpr UINT kFirstRestore = 200;  // the restore submenu's item i
    static constexpr UINT kRestoreCommands = 50;

private:
    bool Add();
    void TellFirstRun();
    void ShowMenu();
    HMENU RestoreMenu() const;
    bool RunCommand(UINT id);

    HWND owner_;
    Icons icons_;
    bool locked_ = false;
    bool firstRunTold_ = false;
    TrayTargets targets_;
    UINT taskbarCreated_;
};
