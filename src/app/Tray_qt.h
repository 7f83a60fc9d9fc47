#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

class NoteManager;

// The program's icon in the notification area (StatusNotifierItem, or XEmbed where the desktop has a
// system tray): double-click for the manager, a menu for the rest. Nothing where there is no tray.
class Tray {
public:
    explicit Tray(NoteManager& manager);

private:
    NoteManager& manager_;
    QMenu menu_;
    QSystemTrayIcon icon_;
};
