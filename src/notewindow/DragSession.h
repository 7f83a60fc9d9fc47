#pragma once

#include <cstdint>
#include <optional>

#include "notewindow/EdgeBands.h"
#include "notewindow/Geometry.h"

// One press of the left button on a note, from press to release: below the platform's drag distance it
// is a click (so that a double-click reaches the note), beyond it a move, or a resize when it began in
// an edge band. The note window feeds it the pointer and applies the rectangles it returns.
class DragSession {
public:
    explicit DragSession(int32_t dragDistance) : dragDistance_(dragDistance) {}

    // The button went down at local (x, y) of a window at window, the pointer at screen.
    void Press(Point local, Point screen, const WindowRect& window);

    struct Step {
        enum class Kind {
            None,    // still a click, or no press
            Start,   // the drag begins: a window manager's own move or resize may take over from here
            Follow,  // the drag goes on
        };
        Kind kind = Kind::None;
        Edge edge = Edge::None;  // Edge::None: a move
        WindowRect rect;         // where the window goes now
        bool redraw = false;     // a resize: the note draws again at its new size
    };
    // The pointer moved with the button down.
    Step Move(Point screen);
    // The button went up, or the press was taken over or given up: true when a resize ended, after which
    // the note draws again.
    bool End();

    bool Pressed() const { return press_.has_value(); }
    // The press has become a move or a resize.
    bool Dragging() const { return press_ && press_->dragging; }
    // Where the press was on the screen.
    Point PressPoint() const { return press_ ? press_->screen : Point{}; }

private:
    struct Held {
        Edge edge;
        WindowRect start;
        Point screen;
        bool dragging = false;
    };
    int32_t dragDistance_;
    std::optional<Held> press_;
};
