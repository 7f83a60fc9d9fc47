#pragma once

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>

// One copy of the program per settings file, and the way a second start reaches it: a lock file held
// with flock (released by the system whatever way the holder ends, so never stale) and a Unix socket,
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
    class Peer;
    void AcceptPeers();
    void Admit(int fd);

    std::string lockPath_;
    std::string socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::unique_ptr<QSocketNotifier> listening_;
    std::deque<QPointer<Peer>> peers_;
    std::function<void()> onShow_;
    std::string problem_;
};

// One connected second start: read until its request, let go when it is silent too long.
class InstanceChannel::Peer : public QObject {
public:
    Peer(int fd, std::function<void()> onRequest);
    ~Peer() override;
    // Closes the connection; the peer goes on the next turn of the event loop.
    void Close();

private:
    void Read();

    int fd_;
    QSocketNotifier readable_;
    QTimer silence_;
    std::function<void()> onRequest_;
};
