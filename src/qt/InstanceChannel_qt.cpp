#include "qt/InstanceChannel_qt.h"

#include <QLocalSocket>
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/PrivateFolder.h"
#include "app/StartUp.h"

namespace {

constexpr char kShowManager[] = "show\n";
constexpr int kAnswerMilliseconds = 3000;

}  // namespace

InstanceChannel::InstanceChannel(const std::string& settingsPath) {
    const std::optional<std::string> folder = PrivateRuntimeFolder(&problem_);
    if (!folder) return;
    const QString base = QString::fromStdString(*folder + "/" + InstanceName(settingsPath));
    lockPath_ = base + ".lock";
    socketPath_ = base + ".socket";
}

InstanceChannel::~InstanceChannel() {
    if (lockFd_ >= 0) close(lockFd_);
}

bool InstanceChannel::Lock() {
    if (lockPath_.isEmpty()) return true;
    lockFd_ = open(lockPath_.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        problem_ = lockPath_.toStdString() + ": " + std::strerror(errno);
        return true;
    }
    return flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
}

bool InstanceChannel::Listen(std::function<void()> onShow) {
    if (socketPath_.isEmpty()) return false;
    onShow_ = std::move(onShow);
    QLocalServer::removeServer(socketPath_);  // we hold the lock: a socket left there is a crashed copy's
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) Admit(socket);
    });
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(socketPath_)) return true;
    problem_ = socketPath_.toStdString() + ": " + server_.errorString().toStdString();
    return false;
}

// A peer gets one request, a little time to send it and no more room than a few others: a program that
// connects and says nothing never closes the channel for the next start.
void InstanceChannel::Admit(QLocalSocket* socket) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (socket->readAll().contains('\n') && onShow_) onShow_();
        socket->disconnectFromServer();
    });
    QTimer::singleShot(kSilentPeerMilliseconds, socket, [socket] { socket->abort(); });
    peers_.erase(std::remove_if(peers_.begin(), peers_.end(), [](const auto& peer) { return !peer; }), peers_.end());
    while (peers_.size() >= kMaxPeers) {
        peers_.front()->abort();
        peers_.pop_front();
    }
    peers_.emplace_back(socket);
}

bool InstanceChannel::AskRunningCopy() {
    if (socketPath_.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
    socket.write(kShowManager);
    if (!socket.waitForBytesWritten(kAnswerMilliseconds)) return false;
    socket.waitForDisconnected(kAnswerMilliseconds);
    return true;
}
