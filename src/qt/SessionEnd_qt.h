#pragma once

#include <functional>

// Runs a callback on the event loop when the process gets SIGTERM, SIGINT or SIGHUP, or when the
// session manager asks the program to save: the way a Linux session ends it.
class SessionEnd {
public:
    explicit SessionEnd(std::function<void()> onEnd);
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    std::function<void()> onEnd_;
    bool ended_ = false;
};
