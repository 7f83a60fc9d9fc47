#pragma once

#include <cstdint>

// The time that waits are measured in: a steady count of milliseconds, and a way to let some pass.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t NowMs() const = 0;
    virtual void SleepMs(int milliseconds) = 0;
};

// The machine's own steady clock.
class SystemClock : public Clock {
public:
    int64_t NowMs() const override;
    void SleepMs(int milliseconds) override;
};
