#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

#include "manager/Tray.h"

// The program's icon in the notification area (StatusNotifierItem, or XEmbed where the desktop has a
// system tray): double-click for the manager, or a single click where the icon is a StatusNotifierItem,
// whose hosts tell only single activations; a menu for the rest. Nothing where there is no tray.
class Tray {
public:
    explicit Tray(const TrayTargets& targets);

private:
    void FillRestoreMenu(QMenu& restore);

    TrayTargets targets_;
    QMenu menu_;
    QSystemTrayIcon icon_;
};
