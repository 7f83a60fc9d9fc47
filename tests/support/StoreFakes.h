#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "store/Clock.h"
#include "store/FailureLog.h"

// Test doubles of what the settings store is given.

struct FakeLog : FailureLog {
    std::vector<std::string> lines;
    void Failure(const std::string& line) override { lines.push_back(line); }
    bool Has(const std::string& part) const {
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
};

// Time that passes only when the program waits: what happens meanwhile (another writer finishing its file)
// is scheduled for a moment of it.
struct FakeClock : Clock {
    int64_t now = 1000000;
    std::vector<std::pair<int64_t, std::function<void()>>> scheduled;
    int64_t NowMs() const override { return now; }
    void SleepMs(int milliseconds) override { Advance(milliseconds); }
    void At(int64_t when, std::function<void()> what) { scheduled.emplace_back(when, std::move(what)); }
    void Advance(int64_t milliseconds) {
        now += milliseconds;
        for (size_t i = 0; i < scheduled.size();) {
            if (scheduled[i].first > now) {
                ++i;
                continue;
            }
            auto what = std::move(scheduled[i].second);
            scheduled.erase(scheduled.begin() + long(i));
            what();
        }
    }
};
