#include "notewindow/DragSession.h"

#include <cstdlib>

void DragSession::Press(Point local, Point screen, const WindowRect& window) {
    press_ = Held{EdgeAt(local.x, local.y, window.width(), window.height()), window, screen, false};
}

DragSession::Step DragSession::Move(Point screen) {
    Step step;
    if (!press_) return step;
    const int32_t dx = screen.x - press_->screen.x;
    const int32_t dy = screen.y - press_->screen.y;
    if (!press_->dragging) {
        if (std::abs(dx) < dragDistance_ && std::abs(dy) < dragDistance_) return step;
        press_->dragging = true;
        step.kind = Step::Kind::Start;
    } else {
        step.kind = Step::Kind::Follow;
    }
    step.edge = press_->edge;
    step.rect = DraggedRect(press_->start, press_->edge, dx, dy);
    step.redraw = press_->edge != Edge::None;
    return step;
}

bool DragSession::End() {
    const bool resized = press_ && press_->dragging && press_->edge != Edge::None;
    press_.reset();
    return resized;
}
