#pragma once

#include <QFileSystemWatcher>
#include <QTimer>
#include <functional>
#include <string>

// Tells when the settings file or its folder changed: a sync tool replaces the file (a new file under the
// same name), an editor may write it in place, conflict copies appear beside it. A burst of changes is
// told once, a moment after it started; nothing runs while nothing changes.
class SettingsWatch {
public:
    SettingsWatch(const std::string& settingsPath, std::function<void()> onChange);

private:
    void Changed();

    QString file_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    std::function<void()> onChange_;
};
