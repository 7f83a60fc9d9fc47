#pragma once

#include <QLocalServer>

#include <deque>
#include <functional>
#include <string>

#include <QPointer>

class QLocalSocket;

// One copy of the program per settings file, and the way a second start reaches it: a lock file held
// with flock (released by the system whatever way the holder ends, so never stale) and a local socket,
// both named after the settings file, in the user's private runtime folder.
class InstanceChannel {
public:
    explicit InstanceChannel(const std::string& settingsPath);
    ~InstanceChannel();
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // Takes the lock; false when a running copy holds it. Without a private folder the program runs
    // unguarded rather than not at all: Problem() says why.
    bool Lock();
    // In the running copy: calls onShow whenever a second start asks for the manager. False, with the
    // reason in Problem(), when no second start can reach this copy.
    bool Listen(std::function<void()> onShow);
    // In a second copy: asks the running copy for its manager; false when it does not answer.
    bool AskRunningCopy();
    const std::string& Problem() const { return problem_; }

    // A peer that says nothing is let go after this long; beyond this many peers the oldest goes.
    static constexpr int kSilentPeerMilliseconds = 2000;
    static constexpr size_t kMaxPeers = 8;

private:
    void Admit(QLocalSocket* socket);

    QString lockPath_;
    QString socketPath_;
    int lockFd_ = -1;
    QLocalServer server_;
    std::deque<QPointer<QLocalSocket>> peers_;
    std::function<void()> onShow_;
    std::string problem_;
};
