#pragma once

#include <QObject>
#include <QRect>

#include <wayland-client.h>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "notewindow/EdgeBands.h"
#include "notewindow/Geometry.h"

struct wl_cursor_theme;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace wayland {

// What the pointer does on one note's surface, in the surface's own pixels.
class PointerTarget {
public:
    virtual ~PointerTarget() = default;
    virtual void OnPointerMotion(Point local) = 0;
    virtual void OnLeftButton(bool pressed, uint32_t time) = 0;
};

// A monitor as the compositor lays it out: its place and size in the desktop's logical pixels.
struct Output {
    wl_output* output = nullptr;
    uint32_t name = 0;
    zxdg_output_v1* xdgOutput = nullptr;
    QRect area;
};

// The program's own connection to the compositor, for the note surfaces only (Qt keeps its own for the
// dialogs): the globals they need, the monitors, the pointer, read from Qt's event loop.
class Display : public QObject {
public:
    // Connects to the compositor of WAYLAND_DISPLAY; nothing when there is none. LayerShell() says
    // whether notes can show on it.
    static std::unique_ptr<Display> Connect();
    ~Display() override;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // From here on its events are read whenever the Qt event loop runs.
    void WatchFromEventLoop();

    wl_compositor* Compositor() const { return compositor_; }
    wl_shm* Shm() const { return shm_; }
    zwlr_layer_shell_v1* LayerShell() const { return layerShell_; }
    // The monitor that holds the point, else the first one; nothing before the compositor told of any.
    const Output* OutputAt(Point point) const;

    void Listen(wl_surface* surface, PointerTarget* target);
    void Forget(wl_surface* surface);
    // The shape of the pointer while it is over a note (the one it entered last).
    void SetCursor(SizeCursor cursor);
    // Sends what was asked, and handles what the compositor said meanwhile.
    void Flush();

private:
    Display() = default;
    bool Bind();
    void ReadEvents();
    void TakeEvents();
    static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    static void OnGlobalRemove(void* data, wl_registry* registry, uint32_t name);
    void AddOutput(uint32_t name, uint32_t version);
    void DescribeOutput(Output& output);
    void BindPointer(uint32_t capabilities);

    friend struct PointerEvents;
    friend struct GlobalEvents;
    friend struct OutputEvents;

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zxdg_output_manager_v1* outputManager_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::unordered_map<wl_surface*, PointerTarget*> targets_;
    PointerTarget* entered_ = nullptr;
    uint32_t enterSerial_ = 0;
    wl_cursor_theme* cursorTheme_ = nullptr;
    wl_surface* cursorSurface_ = nullptr;
    SizeCursor cursor_ = SizeCursor::Arrow;
    bool dispatching_ = false;
    bool broken_ = false;
};

}  // namespace wayland
