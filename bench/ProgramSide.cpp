#include "ProgramSide.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/shape.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace

ProgramSide::ProgramSide(std::string name, std::string folder, std::string home, std::string display)
    : name_(std::move(name)), folder_(std::move(folder)), home_(std::move(home)), display_(std::move(display)) {
    x_ = xcb_connect(display_.c_str(), nullptr);
    std::filesystem::create_directories(home_ + "/run");
    chmod((home_ + "/run").c_str(), 0700);
}

ProgramSide::~ProgramSide() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (x_) xcb_disconnect(x_);
}

bool ProgramSide::WaitFor(int milliseconds, const std::function<bool()>& condition) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

bool ProgramSide::Start() {
    pid_ = fork();
    if (pid_ == 0) {
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home_ + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home_ + "/data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home_ + "/run").c_str(), 1);
        setenv("HOME", home_.c_str(), 1);
        setenv("LANG", "C.UTF-8", 1);
        const int log = open((home_ + "/log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (log >= 0) dup2(log, 2), dup2(log, 1);
        execl(SKYSLATE2_PROGRAM, SKYSLATE2_PROGRAM, "--settings-dir", folder_.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid_ > 0 && WaitFor(20000, [&] { return !NoteWindows().empty(); }) && (Sleep(500), true);
}

bool ProgramSide::Stop() {
    if (pid_ <= 0) return false;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < 20000; waited += 50) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        Sleep(50);
    }
    return false;
}

std::vector<uint32_t> ProgramSide::Windows() const {
    std::vector<uint32_t> windows;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
    auto* tree = xcb_query_tree_reply(x_, xcb_query_tree(x_, root), nullptr);
    if (!tree) return windows;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) windows.push_back(children[i]);
    free(tree);
    return windows;
}

std::string ProgramSide::Property(uint32_t window, const char* name) const {
    auto* atom = xcb_intern_atom_reply(x_, xcb_intern_atom(x_, 0, uint16_t(strlen(name)), name), nullptr);
    if (!atom) return {};
    auto* reply = xcb_get_property_reply(
        x_, xcb_get_property(x_, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    free(atom);
    std::string value;
    if (reply)
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     size_t(xcb_get_property_value_length(reply)));
    free(reply);
    return value;
}

namespace {

std::vector<xcb_rectangle_t> Rectangles(xcb_shape_get_rectangles_reply_t* shape) {
    if (!shape) return {};
    const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(shape);
    return {rects, rects + xcb_shape_get_rectangles_rectangles_length(shape)};
}

}  // namespace

std::vector<ProgramSide::Window> ProgramSide::NoteWindows() const {
    std::vector<Window> notes;
    for (uint32_t id : Windows()) {
        if (Property(id, "WM_WINDOW_ROLE").rfind("text_", 0) != 0) continue;
        auto* attributes = xcb_get_window_attributes_reply(x_, xcb_get_window_attributes(x_, id), nullptr);
        auto* geometry = xcb_get_geometry_reply(x_, xcb_get_geometry(x_, id), nullptr);
        auto* input = xcb_shape_get_rectangles_reply(x_, xcb_shape_get_rectangles(x_, id, XCB_SHAPE_SK_INPUT), nullptr);
        auto* bounding =
            xcb_shape_get_rectangles_reply(x_, xcb_shape_get_rectangles(x_, id, XCB_SHAPE_SK_BOUNDING), nullptr);
        if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
            Window window{id, {geometry->x, geometry->y}, geometry->width, geometry->height, std::nullopt};
            // The middle of the largest piece that takes the mouse (within both shapes): a press there lands on
            // the note.
            int best = 0;
            for (const xcb_rectangle_t& in : Rectangles(input))
                for (const xcb_rectangle_t& shown : Rectangles(bounding)) {
                    const int left = std::max<int>(in.x, shown.x), top = std::max<int>(in.y, shown.y);
                    const int right = std::min<int>(in.x + in.width, shown.x + shown.width);
                    const int bottom = std::min<int>(in.y + in.height, shown.y + shown.height);
                    if (right <= left || bottom <= top || (right - left) * (bottom - top) <= best) continue;
                    best = (right - left) * (bottom - top);
                    window.painted = Point{window.at.x + (left + right) / 2, window.at.y + (top + bottom) / 2};
                }
            notes.push_back(window);
        }
        free(attributes);
        free(geometry);
        free(input);
        free(bounding);
    }
    return notes;
}

std::optional<ProgramSide::Window> ProgramSide::NoteWindowAt(Point at) const {
    for (const Window& window : NoteWindows())
        if (window.at.x == at.x && window.at.y == at.y) return window;
    return std::nullopt;
}

bool ProgramSide::DialogShown(const std::string& title) const {
    for (uint32_t id : Windows()) {
        if (Property(id, "_NET_WM_NAME") != title) continue;
        auto* attributes = xcb_get_window_attributes_reply(x_, xcb_get_window_attributes(x_, id), nullptr);
        const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        free(attributes);
        if (shown) return true;
    }
    return false;
}

void ProgramSide::Xdotool(const std::vector<std::string>& args) const {
    const pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", display_.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>("xdotool")};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp("xdotool", argv.data());
        _exit(127);
    }
    waitpid(child, nullptr, 0);
}

void ProgramSide::DoubleClick(Point at) const {
    Xdotool({"mousemove", std::to_string(at.x), std::to_string(at.y)});
    Sleep(100);
    Xdotool({"click", "--repeat", "2", "--delay", "60", "1"});
}

void ProgramSide::Drag(Point from, Point to) const {
    Xdotool({"mousemove", std::to_string(from.x), std::to_string(from.y), "mousedown", "1"});
    Sleep(100);
    for (int step = 1; step <= 4; ++step) {
        Xdotool({"mousemove", std::to_string(from.x + (to.x - from.x) * step / 4),
                 std::to_string(from.y + (to.y - from.y) * step / 4)});
        Sleep(60);
    }
    Xdotool({"mouseup", "1"});
    Sleep(200);
}

void ProgramSide::Keys(const std::vector<std::string>& keys) const {
    for (const std::string& key : keys) {
        Xdotool({"key", key});
        Sleep(60);
    }
}
