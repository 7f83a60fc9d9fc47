#include "qt/InstanceChannel_qt.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/StartUp.h"
#include "store/PrivateFolder.h"

// Plain Unix sockets rather than Qt's network module: that module and what it loads (Kerberos, a proxy
// library) would make every start slower for one small message.

namespace {

constexpr char kShowManager[] = "show\n";
constexpr int kAnswerMilliseconds = 3000;

bool AddressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return true;
}

// Waits until fd is ready for events, at most the answer time; false when it is not.
bool WaitFor(int fd, short events) {
    pollfd ready{fd, events, 0};
    int result;
    do result = poll(&ready, 1, kAnswerMilliseconds);
    while (result < 0 && errno == EINTR);
    return result > 0;
}

}  // namespace

InstanceChannel::InstanceChannel(const std::string& settingsPath) {
    const std::optional<std::string> folder = PrivateRuntimeFolder(&problem_);
    if (!folder) return;
    const std::string base = *folder + "/" + InstanceName(settingsPath);
    lockPath_ = base + ".lock";
    socketPath_ = base + ".socket";
}

InstanceChannel::~InstanceChannel() {
    for (const QPointer<Peer>& peer : peers_) delete peer.data();
    listening_.reset();
    if (listenFd_ >= 0) close(listenFd_);
    if (lockFd_ >= 0) close(lockFd_);
}

bool InstanceChannel::Lock() {
    if (lockPath_.empty()) return true;
    lockFd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        problem_ = lockPath_ + ": " + std::strerror(errno);
        return true;
    }
    return flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
}

bool InstanceChannel::Listen(std::function<void()> onShow) {
    if (socketPath_.empty()) return false;
    onShow_ = std::move(onShow);
    sockaddr_un address;
    if (!AddressOf(socketPath_, address)) {
        problem_ = socketPath_ + ": the path is too long for a socket";
        return false;
    }
    unlink(socketPath_.c_str());  // we hold the lock: a socket left there is a crashed copy's
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        chmod(socketPath_.c_str(), 0600) != 0 || listen(listenFd_, SOMAXCONN) != 0) {
        problem_ = socketPath_ + ": " + std::strerror(errno);
        return false;
    }
    listening_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    QObject::connect(listening_.get(), &QSocketNotifier::activated, listening_.get(), [this] { AcceptPeers(); });
    return true;
}

void InstanceChannel::AcceptPeers() {
    int fd;
    while ((fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) Admit(fd);
}

// A peer gets one request, a little time to send it and no more room than a few others: a program that
// connects and says nothing never closes the channel for the next start.
void InstanceChannel::Admit(int fd) {
    peers_.erase(std::remove_if(peers_.begin(), peers_.end(), [](const QPointer<Peer>& peer) { return !peer; }),
                 peers_.end());
    while (peers_.size() >= kMaxPeers) {
        if (peers_.front()) peers_.front()->Close();
        peers_.pop_front();
    }
    peers_.emplace_back(new Peer(fd, [this] {
        if (onShow_) onShow_();
    }));
}

bool InstanceChannel::AskRunningCopy() {
    sockaddr_un address;
    if (socketPath_.empty() || !AddressOf(socketPath_, address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool asked = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ||
                 (errno == EAGAIN && WaitFor(fd, POLLOUT));
    asked = asked && write(fd, kShowManager, sizeof kShowManager - 1) == ssize_t(sizeof kShowManager - 1);
    if (asked) {
        // The running copy closes once it has the request.
        char byte;
        while (WaitFor(fd, POLLIN) && read(fd, &byte, 1) > 0) {}
    }
    close(fd);
    return asked;
}

InstanceChannel::Peer::Peer(int fd, std::function<void()> onRequest)
    : fd_(fd), readable_(fd, QSocketNotifier::Read), onRequest_(std::move(onRequest)) {
    connect(&readable_, &QSocketNotifier::activated, this, [this] { Read(); });
    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, [this] { Close(); });
    silence_.start(kSilentPeerMilliseconds);
}

InstanceChannel::Peer::~Peer() {
    if (fd_ >= 0) close(fd_);
}

void InstanceChannel::Peer::Close() {
    readable_.setEnabled(false);
    silence_.stop();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    deleteLater();
}

void InstanceChannel::Peer::Read() {
    char buffer[64];
    const ssize_t got = read(fd_, buffer, sizeof buffer);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
    const bool asked = got > 0 && std::find(buffer, buffer + got, '\n') != buffer + got;
    Close();  // one request a peer; what came without a line end is not one
    if (asked && onRequest_) onRequest_();
}
