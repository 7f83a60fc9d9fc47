#include "qt/Tray_qt.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "qt/Texts_qt.h"
#include "manager/Tray.h"

namespace {

constexpr const char* kStatusNotifierWatcher = "org.kde.StatusNotifierWatcher";

// Qt makes the icon a StatusNotifierItem where the session bus has a watcher, and an XEmbed icon otherwise.
bool StatusNotifierHostRuns() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(kStatusNotifierWatcher);
}

bool OnX11() { return QGuiApplication::platformName() == "xcb"; }

// Named from the icon theme where the program is installed, so that a StatusNotifierItem host shows the
// named icon; the program's own pictures elsewhere.
QIcon TrayIcon(bool locked) {
    if (!locked) return QIcon::fromTheme("skyslate2", QApplication::windowIcon());
    QIcon own;
    for (const char* size : {"16x16", "32x32", "48x48", "256x256"})
        own.addFile(QString(":/icons/hicolor/%1/apps/skyslate2-locked.png").arg(size));
    return QIcon::fromTheme("skyslate2-locked", own);
}

}  // namespace

Tray::Tray(const TrayTargets& targets) : targets_(targets) {
    BuildMenu();
    locked_ = targets_.notes.Locked();
    ShowOnceATrayRuns();
}

void Tray::BuildMenu() {
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
            lockItem_ = action;
        }
    }
    QObject::connect(&menu_, &QMenu::aboutToShow, &menu_, [this] { lockItem_->setChecked(targets_.notes.Locked()); });
}

// Until a tray runs nothing is made: Qt would settle on XEmbed for good, and a StatusNotifierItem host that
// starts later would never show the icon.
void Tray::ShowOnceATrayRuns() {
    if (StatusNotifierHostRuns() || (OnX11() && x11::SystemTrayRuns())) {
        MakeIcon();
        return;
    }
    statusNotifierStarts_.setConnection(QDBusConnection::sessionBus());
    statusNotifierStarts_.addWatchedService(kStatusNotifierWatcher);
    statusNotifierStarts_.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(&statusNotifierStarts_, &QDBusServiceWatcher::serviceRegistered, &menu_, [this] { MakeIcon(); });
    if (OnX11()) xembedStarts_ = std::make_unique<x11::SystemTrayStartWatch>([this] { MakeIcon(); });
}

// Once made, the icon follows its tray by itself: Qt docks it again when an XEmbed tray restarts, and
// registers it again when the StatusNotifierItem watcher does.
void Tray::MakeIcon() {
    if (icon_) return;
    xembedStarts_.reset();
    QObject::disconnect(&statusNotifierStarts_, nullptr, &menu_, nullptr);
    icon_ = std::make_unique<QSystemTrayIcon>();
    ShowLocked(locked_);
    icon_->setContextMenu(&menu_);
    const QSystemTrayIcon::ActivationReason opens =
        StatusNotifierHostRuns() ? QSystemTrayIcon::Trigger : QSystemTrayIcon::DoubleClick;
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, &menu_,
                     [this, opens](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == opens) RunTrayCommand(targets_, TrayCommand::ShowManager);
                     });
    icon_->show();
    if (targets_.notes.FirstRun()) icon_->showMessage(Ui(kFirstRunTrayTitle), Ui(kFirstRunTrayText));
}

void Tray::ShowLocked(bool locked) {
    locked_ = locked;
    if (!icon_) return;
    icon_->setIcon(TrayIcon(locked));
    icon_->setToolTip(Ui(locked ? kTrayTooltipLocked : kTrayTooltip));
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
