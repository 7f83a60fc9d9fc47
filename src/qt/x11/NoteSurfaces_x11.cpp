#include <QCoreApplication>
#include <xcb/shape.h>

#include <algorithm>

#include "qt/x11/NoteSurface_x11.h"
#include "qt/x11/X11Window_x11.h"

// What the note windows share on the X server: their events, the mapping of the notes shown together and
// the curtain while notes close.

namespace x11 {

NoteSurfaces::NoteSurfaces() { QCoreApplication::instance()->installNativeEventFilter(this); }

NoteSurfaces::~NoteSurfaces() {
    RemoveCurtain();
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

void NoteSurfaces::Add(xcb_window_t window, std::function<void(const xcb_generic_event_t&)> handler) {
    handlers_[window] = std::move(handler);
}

void NoteSurfaces::Remove(xcb_window_t window) {
    handlers_.erase(window);
    toMap_.erase(std::remove_if(toMap_.begin(), toMap_.end(), [window](NoteSurface* s) { return s->Id() == window; }),
                 toMap_.end());
}

void NoteSurfaces::QueueMap(NoteSurface& surface) {
    if (toMap_.empty()) QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { MapQueued(); }, Qt::QueuedConnection);
    toMap_.push_back(&surface);
}

void NoteSurfaces::CancelMap(NoteSurface& surface) {
    toMap_.erase(std::remove(toMap_.begin(), toMap_.end(), &surface), toMap_.end());
}

// Without a compositing manager, a closing note uncovers the desktop beneath it, which the X server
// repaints clipped by the shapes of every other note: with many notes dense with text that takes it
// seconds. A curtain, an invisible window (no background, no input) under all windows and over the
// desktop, takes those exposures without any painting while notes close; it goes on the next turn of the
// event loop, uncovering the desktop once, as one simple area.
void NoteSurfaces::DrawCurtain() {
    if (curtain_ != XCB_NONE || CompositingActive()) return;
    xcb_connection_t* c = Connection();
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    curtain_ = xcb_generate_id(c);
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 1};  // no background, not the window manager's
    xcb_create_window(c, XCB_COPY_FROM_PARENT, curtain_, screen->root, 0, 0, screen->width_in_pixels,
                      screen->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, curtain_, 0, 0, 0,
                         nullptr);
    const uint32_t bottom = XCB_STACK_MODE_BELOW;
    xcb_configure_window(c, curtain_, XCB_CONFIG_WINDOW_STACK_MODE, &bottom);
    xcb_map_window(c, curtain_);
    xcb_flush(c);
    QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { RemoveCurtain(); }, Qt::QueuedConnection);
}

void NoteSurfaces::RemoveCurtain() {
    if (curtain_ == XCB_NONE) return;
    xcb_destroy_window(Connection(), curtain_);
    xcb_flush(Connection());
    curtain_ = XCB_NONE;
}

// Top-down, each directly below the one mapped before: later notes end up above earlier ones as usual,
// and no window already on screen is covered again by each new one, which spares the X server a
// recalculation of every window beneath (with shaped windows the most costly part of showing many notes).
void NoteSurfaces::MapQueued() {
    xcb_window_t above = XCB_NONE;
    for (auto note = toMap_.rbegin(); note != toMap_.rend(); ++note) {
        (*note)->MapBelow(above);
        above = (*note)->Id();
    }
    toMap_.clear();
    xcb_flush(Connection());
}

bool NoteSurfaces::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t" || handlers_.empty()) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    xcb_window_t window = XCB_NONE;
    switch (event->response_type & 0x7F) {
        case XCB_EXPOSE: window = reinterpret_cast<const xcb_expose_event_t*>(event)->window; break;
        case XCB_CONFIGURE_NOTIFY: window = reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window; break;
        case XCB_REPARENT_NOTIFY: window = reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window; break;
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE: window = reinterpret_cast<const xcb_button_press_event_t*>(event)->event; break;
        case XCB_MOTION_NOTIFY: window = reinterpret_cast<const xcb_motion_notify_event_t*>(event)->event; break;
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY: window = reinterpret_cast<const xcb_map_notify_event_t*>(event)->window; break;
        case XCB_CLIENT_MESSAGE: window = reinterpret_cast<const xcb_client_message_event_t*>(event)->window; break;
        default: return false;
    }
    auto found = handlers_.find(window);
    if (found == handlers_.end()) return false;
    // A copy: the handler may close its own window (and be removed) before it returns.
    const std::function<void(const xcb_generic_event_t&)> handler = found->second;
    handler(*event);
    // A note came up (shown, or raised by a window manager on a click): the dialogs stay above it.
    const uint8_t kind = event->response_type & 0x7F;
    if (kind == XCB_MAP_NOTIFY || kind == XCB_BUTTON_RELEASE) RaiseDialogsAboveNotes();
    return true;  // a note's: Qt knows no such window
}

}  // namespace x11
