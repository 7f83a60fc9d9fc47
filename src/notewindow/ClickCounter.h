#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "notewindow/DragSession.h"

// Tells a double-click from raw presses of the left button, the same way on every platform: a second
// press soon enough after the first and near enough to it. A third press starts counting anew.
class ClickCounter {
public:
    ClickCounter(uint32_t intervalMilliseconds, int32_t distance) : interval_(intervalMilliseconds), distance_(distance) {}

    // A press at time (milliseconds, wrapping) at a screen point: true when it completes a double-click.
    bool Press(uint32_t time, Point screen) {
        const bool second = last_ && time - last_->time <= interval_ && std::abs(screen.x - last_->screen.x) <= distance_ &&
                            std::abs(screen.y - last_->screen.y) <= distance_;
        if (second) last_.reset();
        else last_ = Click{time, screen};
        return second;
    }

private:
    struct Click {
        uint32_t time;
        Point screen;
    };
    uint32_t interval_;
    int32_t distance_;
    std::optional<Click> last_;
};
