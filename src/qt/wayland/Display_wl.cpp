#include "qt/wayland/Display_wl.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <wayland-cursor.h>

#include <poll.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace wayland {

namespace {

constexpr uint32_t kLeftButton = 0x110;  // BTN_LEFT
constexpr int kFlushWaitMs = 1000;

int Whole(wl_fixed_t value) { return int(std::floor(wl_fixed_to_double(value))); }

template <typename... Args>
void Ignore(void*, Args...) {}

}  // namespace

struct PointerEvents {
    static void Enter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
        auto* self = static_cast<Display*>(data);
        const auto found = self->targets_.find(surface);
        self->entered_ = found == self->targets_.end() ? nullptr : found->second;
        self->enterSerial_ = serial;
        if (!self->entered_) return;
        self->SetCursor(self->cursor_);
        self->entered_->OnPointerMotion(Point{Whole(x), Whole(y)});
    }
    static void Leave(void* data, wl_pointer*, uint32_t, wl_surface*) { static_cast<Display*>(data)->entered_ = nullptr; }
    static void Motion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
        auto* self = static_cast<Display*>(data);
        if (self->entered_) self->entered_->OnPointerMotion(Point{Whole(x), Whole(y)});
    }
    static void Button(void* data, wl_pointer*, uint32_t, uint32_t time, uint32_t button, uint32_t state) {
        auto* self = static_cast<Display*>(data);
        if (self->entered_ && button == kLeftButton)
            self->entered_->OnLeftButton(state == WL_POINTER_BUTTON_STATE_PRESSED, time);
    }
};

// Seat version 3: the pointer sends the first five; the others are there for the listener's shape.
const wl_pointer_listener kPointerListener = {
    PointerEvents::Enter,         PointerEvents::Leave,
    PointerEvents::Motion,        PointerEvents::Button,
    Ignore<wl_pointer*, uint32_t, uint32_t, wl_fixed_t>, Ignore<wl_pointer*>,
    Ignore<wl_pointer*, uint32_t>, Ignore<wl_pointer*, uint32_t, uint32_t>,
    Ignore<wl_pointer*, uint32_t, int32_t>, Ignore<wl_pointer*, uint32_t, int32_t>};

struct OutputEvents {
    static void Geometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
                         const char*, int32_t) {
        auto* output = static_cast<Output*>(data);
        if (!output->xdgOutput) output->area.moveTo(x, y);
    }
    static void Mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
        auto* output = static_cast<Output*>(data);
        if (!output->xdgOutput && (flags & WL_OUTPUT_MODE_CURRENT)) output->area.setSize(QSize(width, height));
    }
    static void LogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
        static_cast<Output*>(data)->area.moveTo(x, y);
    }
    static void LogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
        static_cast<Output*>(data)->area.setSize(QSize(width, height));
    }
};

// Output version 2, xdg-output version 2: their events up to those versions.
const wl_output_listener kOutputListener = {OutputEvents::Geometry, OutputEvents::Mode, Ignore<wl_output*>,
                                            Ignore<wl_output*, int32_t>, Ignore<wl_output*, const char*>,
                                            Ignore<wl_output*, const char*>};
const zxdg_output_v1_listener kXdgOutputListener = {OutputEvents::LogicalPosition, OutputEvents::LogicalSize,
                                                    Ignore<zxdg_output_v1*>, Ignore<zxdg_output_v1*, const char*>,
                                                    Ignore<zxdg_output_v1*, const char*>};

struct GlobalEvents {
    static void Capabilities(void* data, wl_seat*, uint32_t capabilities) {
        static_cast<Display*>(data)->BindPointer(capabilities);
    }
    static constexpr wl_seat_listener kListener = {Capabilities, Ignore<wl_seat*, const char*>};
    static constexpr wl_registry_listener kRegistry = {Display::OnGlobal, Display::OnGlobalRemove};
};

std::unique_ptr<Display> Display::Connect() {
    if (!std::getenv("WAYLAND_DISPLAY")) return nullptr;
    std::unique_ptr<Display> display(new Display());
    display->display_ = wl_display_connect(nullptr);
    if (!display->display_ || !display->Bind()) return nullptr;
    return display;
}

// Two round trips: the globals, then what the monitors and the seat say of themselves.
bool Display::Bind() {
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &GlobalEvents::kRegistry, this);
    if (wl_display_roundtrip(display_) < 0) return false;
    for (auto& output : outputs_) DescribeOutput(*output);
    if (wl_display_roundtrip(display_) < 0) return false;
    if (!compositor_ || !shm_) layerShell_ = nullptr;  // not enough to show a note
    if (!layerShell_) return true;
    const char* theme = std::getenv("XCURSOR_THEME");
    const char* size = std::getenv("XCURSOR_SIZE");
    cursorTheme_ = wl_cursor_theme_load(theme, size && std::atoi(size) > 0 ? std::atoi(size) : 24, shm_);
    cursorSurface_ = wl_compositor_create_surface(compositor_);
    return true;
}

void Display::OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* self = static_cast<Display*>(data);
    auto bind = [&](const wl_interface* wanted, uint32_t most) {
        return wl_registry_bind(registry, name, wanted, std::min(version, most));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 4) {
        self->compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        self->shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0 && version >= 2) {
        self->layerShell_ = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 2));
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0 && version >= 2) {
        self->outputManager_ = static_cast<zxdg_output_manager_v1*>(bind(&zxdg_output_manager_v1_interface, 2));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat_ && version >= 3) {
        self->seat_ = static_cast<wl_seat*>(bind(&wl_seat_interface, 3));
        wl_seat_add_listener(self->seat_, &GlobalEvents::kListener, self);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= 2) {
        self->AddOutput(name, version);
    }
}

void Display::OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
    auto& outputs = static_cast<Display*>(data)->outputs_;
    for (auto output = outputs.begin(); output != outputs.end(); ++output) {
        if ((*output)->name != name) continue;
        if ((*output)->xdgOutput) zxdg_output_v1_destroy((*output)->xdgOutput);
        wl_output_destroy((*output)->output);
        outputs.erase(output);
        return;
    }
}

void Display::AddOutput(uint32_t name, uint32_t version) {
    auto output = std::make_unique<Output>();
    output->name = name;
    output->output = static_cast<wl_output*>(wl_registry_bind(registry_, name, &wl_output_interface, std::min(version, 2u)));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    // A monitor that comes later is described at once; those of the start once the manager is known.
    if (outputManager_) DescribeOutput(*output);
    outputs_.push_back(std::move(output));
}

void Display::DescribeOutput(Output& output) {
    if (!outputManager_ || output.xdgOutput) return;
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(outputManager_, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
}

void Display::BindPointer(uint32_t capabilities) {
    const bool has = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (has && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &kPointerListener, this);
    } else if (!has && pointer_) {
        wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        entered_ = nullptr;
    }
}

Display::~Display() {
    if (cursorSurface_) wl_surface_destroy(cursorSurface_);
    if (cursorTheme_) wl_cursor_theme_destroy(cursorTheme_);
    if (display_) wl_display_disconnect(display_);  // every object the program made goes with it
}

// Qt reads its own connection; this one is read when its socket has something, and what Qt's turn of
// the loop asked for is sent before the loop sleeps.
void Display::WatchFromEventLoop() {
    auto* notifier = new QSocketNotifier(wl_display_get_fd(display_), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] { ReadEvents(); });
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] { Flush(); });
}

void Display::ReadEvents() {
    Flush();
    if (wl_display_get_error(display_) == 0 || broken_) return;
    broken_ = true;
    std::fprintf(stderr, "skyslate2: the connection to the Wayland compositor broke: notes cannot show\n");
}

// Many notes at once can send more than the socket holds: then the rest waits until the compositor has
// read some. Its answers are read and handled on the way: a compositor ends a client that lets them pile
// up (with a hundred new notes it does).
void Display::Flush() {
    TakeEvents();
    while (wl_display_flush(display_) < 0 && errno == EAGAIN) {
        pollfd socket{wl_display_get_fd(display_), POLLOUT | POLLIN, 0};
        if (poll(&socket, 1, kFlushWaitMs) <= 0) return;
        TakeEvents();
    }
}

// What has arrived, without waiting; not again from within a handler.
void Display::TakeEvents() {
    if (dispatching_) return;
    dispatching_ = true;
    if (wl_display_prepare_read(display_) == 0) {
        pollfd socket{wl_display_get_fd(display_), POLLIN, 0};
        if (poll(&socket, 1, 0) > 0) wl_display_read_events(display_);
        else wl_display_cancel_read(display_);
    }
    wl_display_dispatch_pending(display_);
    dispatching_ = false;
}

const Output* Display::OutputAt(Point point) const {
    for (const auto& output : outputs_)
        if (output->area.contains(point.x, point.y)) return output.get();
    return outputs_.empty() ? nullptr : outputs_.front().get();
}

void Display::Listen(wl_surface* surface, PointerTarget* target) { targets_[surface] = target; }

void Display::Forget(wl_surface* surface) {
    const auto found = targets_.find(surface);
    if (found == targets_.end()) return;
    if (entered_ == found->second) entered_ = nullptr;
    targets_.erase(found);
}

void Display::SetCursor(SizeCursor cursor) {
    cursor_ = cursor;
    if (!pointer_ || !entered_ || !cursorTheme_) return;
    const char* name = cursor == SizeCursor::WestEast     ? "sb_h_double_arrow"
                       : cursor == SizeCursor::NorthSouth ? "sb_v_double_arrow"
                                                          : "left_ptr";
    wl_cursor* shape = wl_cursor_theme_get_cursor(cursorTheme_, name);
    if (!shape || shape->image_count == 0) return;
    wl_cursor_image* image = shape->images[0];
    wl_pointer_set_cursor(pointer_, enterSerial_, cursorSurface_, int32_t(image->hotspot_x), int32_t(image->hotspot_y));
    wl_surface_attach(cursorSurface_, wl_cursor_image_get_buffer(image), 0, 0);
    wl_surface_damage_buffer(cursorSurface_, 0, 0, int32_t(image->width), int32_t(image->height));
    wl_surface_commit(cursorSurface_);
}

}  // namespace wayland
