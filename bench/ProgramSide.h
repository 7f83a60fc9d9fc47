#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The real Linux program on a display of its own, with its own folders, as on a machine of its own: started
// and ended as a user's session does, and used as a user does, through xdotool on that display.
class ProgramSide {
public:
    // folder: the notes folder; home: its own configuration, data and runtime folders; display: ":N".
    ProgramSide(std::string name, std::string folder, std::string home, std::string display);
    ~ProgramSide();
    ProgramSide(const ProgramSide&) = delete;
    ProgramSide& operator=(const ProgramSide&) = delete;

    const std::string& Name() const { return name_; }
    std::string Path() const { return folder_ + "/TextSetting.ini"; }
    // Starts the program and waits until it shows its notes.
    bool Start();
    // Ends its session (SIGTERM, which saves) and waits for it.
    bool Stop();

    struct Point {
        int x = 0, y = 0;
    };
    struct Window {
        uint32_t id = 0;
        Point at;
        int width = 0, height = 0;
        std::optional<Point> painted;  // a point of its text on the screen, where a press lands on the note
    };
    // The note windows on screen.
    std::vector<Window> NoteWindows() const;
    std::optional<Window> NoteWindowAt(Point at) const;
    bool DialogShown(const std::string& title) const;
    // Waits up to the time given for a condition, in steps of 50 ms.
    static bool WaitFor(int milliseconds, const std::function<bool()>& condition);

    void Xdotool(const std::vector<std::string>& args) const;
    void DoubleClick(Point at) const;
    void Drag(Point from, Point to) const;
    void Keys(const std::vector<std::string>& keys) const;

private:
    std::vector<uint32_t> Windows() const;
    std::string Property(uint32_t window, const char* name) const;

    std::string name_, folder_, home_, display_;
    xcb_connection_t* x_ = nullptr;
    pid_t pid_ = -1;
};
