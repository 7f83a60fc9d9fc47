#include "app/InstanceChannel_qt.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include "app/StartUp.h"

namespace {

constexpr char kShowManager[] = "show\n";
constexpr int kAnswerMilliseconds = 3000;

QString RuntimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

}  // namespace

InstanceChannel::InstanceChannel(const std::string& settingsPath) {
    const QString base = RuntimeFolder() + "/" + QString::fromStdString(InstanceName(settingsPath));
    lockPath_ = base + ".lock";
    socketPath_ = base + ".socket";
}

bool InstanceChannel::Lock() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    lock_->setStaleLockTime(0);  // only a lock whose process is gone is stale
    return lock_->tryLock(0);
}

void InstanceChannel::Listen(std::function<void()> onShow) {
    onShow_ = std::move(onShow);
    QLocalServer::removeServer(socketPath_);  // we hold the lock: a socket left there is a crashed copy's
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->readAll().contains('\n') && onShow_) onShow_();
                socket->disconnectFromServer();
            });
        }
    });
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath_);
}

bool InstanceChannel::AskRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
    socket.write(kShowManager);
    if (!socket.waitForBytesWritten(kAnswerMilliseconds)) return false;
    socket.waitForDisconnected(kAnswerMilliseconds);
    return true;
}
