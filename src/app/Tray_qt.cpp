#include "app/Tray_qt.h"

#include <QApplication>

#include "manager/Tray.h"

Tray::Tray(const TrayTargets& targets) : targets_(targets) {
    QAction* lock = nullptr;
    for (const TrayItem& item : kTrayItems) {
        if (item.separatorBefore) menu_.addSeparator();
        QAction* action = menu_.addAction(QString::fromUtf8(item.text));
        const TrayCommand command = item.command;
        QObject::connect(action, &QAction::triggered, &menu_, [this, command] { RunTrayCommand(targets_, command); });
        if (command == TrayCommand::ToggleLock) {
            action->setCheckable(true);
            lock = action;
        }
    }
    QObject::connect(&menu_, &QMenu::aboutToShow, &menu_, [this, lock] { lock->setChecked(targets_.notes.Locked()); });
    icon_.setIcon(QApplication::windowIcon());
    icon_.setToolTip(kTrayTooltip);
    icon_.setContextMenu(&menu_);
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &menu_, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) RunTrayCommand(targets_, TrayCommand::ShowManager);
    });
    if (QSystemTrayIcon::isSystemTrayAvailable()) icon_.show();
}
