#pragma once

#include <QDBusServiceWatcher>
#include <QMenu>
#include <QSystemTrayIcon>

#include <memory>

#include "manager/Tray.h"
#include "qt/x11/TrayManager_x11.h"

// The program's icon in the notification area (StatusNotifierItem, or XEmbed where the desktop has a
// system tray): double-click for the manager, or a single click where the icon is a StatusNotifierItem,
// whose hosts tell only single activations; a menu for the rest. A tray that starts later (a panel that
// comes up after the program at login, or restarts) gets the icon then.
class Tray {
public:
    explicit Tray(const TrayTargets& targets);
    // The icon tells locked notes apart.
    void ShowLocked(bool locked);

private:
    void BuildMenu();
    void ShowOnceATrayRuns();
    void MakeIcon();
    void FillRestoreMenu(QMenu& restore);

    TrayTargets targets_;
    QMenu menu_;
    QAction* lockItem_ = nullptr;
    bool locked_ = false;
    // Made once a tray runs: Qt decides at that moment between a StatusNotifierItem and XEmbed, for good.
    std::unique_ptr<QSystemTrayIcon> icon_;
    QDBusServiceWatcher statusNotifierStarts_;
    std::unique_ptr<x11::SystemTrayStartWatch> xembedStarts_;
};
