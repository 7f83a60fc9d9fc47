#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "FileHelpers.h"
#include "TempFolder.h"
#include "qt/InstanceChannel_qt.h"
#include "app/StartUp.h"

namespace {

template <typename Condition>
bool PumpUntil(Condition done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A second start's request, sent from another thread while this one runs the running copy's event loop.
bool AskFromAnotherThread(const std::string& socketPath, std::atomic<bool>& answered) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && write(fd, "show\n", 5) == 5;
    char byte;
    ok = ok && read(fd, &byte, 1) == 0;  // the running copy closes once it has the request
    close(fd);
    answered = ok;
    return ok;
}

class RuntimeFolder {
public:
    RuntimeFolder() : previous_(qgetenv("XDG_RUNTIME_DIR")) {
        chmod(folder_.Path().c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder_.Path()));
    }
    ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", previous_); }
    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    TempFolder folder_;
    QByteArray previous_;
};

}  // namespace

TEST(InstanceChannelQt, ALeftLockIsNeverStaleAndSilentPeersNeverCloseTheChannel) {
    RuntimeFolder runtime;
    const std::string settings = "/notes/TextSetting.ini";
    // What a crashed copy left, naming a process that runs now (this one: the PID was reused).
    WriteBytes(runtime.File(InstanceName(settings) + ".lock"), std::to_string(getpid()) + "\nskyslate2\nhost\n");
    InstanceChannel running(settings);
    ASSERT_TRUE(running.Lock());
    EXPECT_FALSE(InstanceChannel(settings).Lock());
    int shows = 0;
    ASSERT_TRUE(running.Listen([&] { ++shows; })) << running.Problem();

    const std::string socketPath = runtime.File(InstanceName(settings) + ".socket");
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 3 * int(InstanceChannel::kMaxPeers); ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(QString::fromStdString(socketPath));
    }
    auto open = [&] {
        return std::count_if(silent.begin(), silent.end(),
                             [](const auto& s) { return s->state() == QLocalSocket::ConnectedState; });
    };
    EXPECT_TRUE(PumpUntil([&] { return open() <= long(InstanceChannel::kMaxPeers); }, 5000)) << open();
    EXPECT_TRUE(PumpUntil([&] { return open() == 0; }, 3 * InstanceChannel::kSilentPeerMilliseconds)) << open();

    std::atomic<bool> answered{false};
    std::thread second([&] { AskFromAnotherThread(socketPath, answered); });
    EXPECT_TRUE(PumpUntil([&] { return shows == 1; }, 5000));
    PumpUntil([&] { return answered.load(); }, 5000);
    second.join();
    EXPECT_TRUE(answered);
}
