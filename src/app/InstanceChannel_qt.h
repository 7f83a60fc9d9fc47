#pragma once

#include <QLocalServer>
#include <QLockFile>

#include <functional>
#include <memory>
#include <string>

// One copy of the program per settings file, and the way a second start reaches it: a lock file and a
// local socket, both named after the settings file, in the user's runtime folder.
class InstanceChannel {
public:
    explicit InstanceChannel(const std::string& settingsPath);
    // Takes the lock; false when a running copy holds it.
    bool Lock();
    // In the running copy: calls onShow whenever a second start asks for the manager.
    void Listen(std::function<void()> onShow);
    // In a second copy: asks the running copy for its manager; false when it does not answer.
    bool AskRunningCopy();

private:
    QString lockPath_;
    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<void()> onShow_;
};
