#include "qt/SettingsWatch_qt.h"

#include <QFileInfo>

#include "frontend/FrontEnd.h"

SettingsWatch::SettingsWatch(const std::string& settingsPath, std::function<void()> onChange)
    : file_(QFileInfo(QString::fromStdString(settingsPath)).absoluteFilePath()), onChange_(std::move(onChange)) {
    watcher_.addPath(QFileInfo(file_).absolutePath());
    if (QFileInfo::exists(file_)) watcher_.addPath(file_);
    settle_.setSingleShot(true);
    settle_.setInterval(kFolderChangeBurstMs);
    QObject::connect(&settle_, &QTimer::timeout, &settle_, [this] { onChange_(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, [this] { Changed(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, [this] { Changed(); });
}

void SettingsWatch::Changed() {
    // A replaced file is a new file: the watch on the old one is gone.
    if (!watcher_.files().contains(file_) && QFileInfo::exists(file_)) watcher_.addPath(file_);
    if (!settle_.isActive()) settle_.start();
}
