#include "qt/SessionEnd_qt.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: a byte into the pipe wakes the event loop.
void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qGuiApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qGuiApp, [this] {
        char byte;
        [[maybe_unused]] ssize_t got = read(signalPipe[0], &byte, 1);
        if (!ended_) {
            ended_ = true;
            onEnd_();
        }
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);

    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp, [this](QSessionManager&) {
        if (!ended_) {
            ended_ = true;
            onEnd_();
        }
    });
}

SessionEnd::~SessionEnd() {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}
