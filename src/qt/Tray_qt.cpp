#include "qt/Tray_qt.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "qt/Texts_qt.h"
#include "manager/Tray.h"

namespace {

// Qt makes the icon a StatusNotifierItem where the session bus has a watcher, and an XEmbed icon otherwise.
bool StatusNotifierHostRuns() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered("org.kde.StatusNotifierWatcher");
}

}  // namespace

Tray::Tray(const TrayTargets& targets) : targets_(targets) {
    QAction* lock = nullptr;
    for (const TrayItem& item : kTrayItems) {
        if (item.separatorBefore) menu_.addSeparator();
        const TrayCommand command = item.command;
        if (command == TrayCommand::RestoreNote) {
            QMenu* restore = menu_.addMenu(Ui(item.text));
            QObject::connect(restore, &QMenu::aboutToShow, restore, [this, restore] { FillRestoreMenu(*restore); });
            continue;
        }
        QAction* action = menu_.addAction(Ui(item.text));
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
    const QSystemTrayIcon::ActivationReason opens =
        StatusNotifierHostRuns() ? QSystemTrayIcon::Trigger : QSystemTrayIcon::DoubleClick;
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &menu_, [this, opens](QSystemTrayIcon::ActivationReason reason) {
        if (reason == opens) RunTrayCommand(targets_, TrayCommand::ShowManager);
    });
    if (QSystemTrayIcon::isSystemTrayAvailable()) icon_.show();
}

// Read when it opens: another copy of the program may have deleted notes meanwhile.
void Tray::FillRestoreMenu(QMenu& restore) {
    restore.clear();
    const std::vector<std::string> items = RestoreItems(targets_.notes);
    if (items.empty()) restore.addAction(Ui(kNothingToRestore))->setEnabled(false);
    for (size_t i = 0; i < items.size(); ++i) {
        QAction* action = restore.addAction(QString::fromStdString(items[i]));
        QObject::connect(action, &QAction::triggered, &restore, [this, i] { RestoreDeletedNote(targets_, i); });
    }
}
