#pragma once

// Marks the view's echoes of the core's own changes for the time the core changes the view, so that
// they are not taken for the user's commands.
class ViewUpdate {
public:
    explicit ViewUpdate(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~ViewUpdate() { flag_ = previous_; }
    ViewUpdate(const ViewUpdate&) = delete;
    ViewUpdate& operator=(const ViewUpdate&) = delete;

private:
    bool& flag_;
    bool previous_;
};
