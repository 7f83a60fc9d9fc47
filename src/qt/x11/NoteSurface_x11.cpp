#include "qt/x11/NoteSurface_x11.h"

#include <QGuiApplication>
#include <unistd.h>
#include <xcb/shape.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "qt/x11/Cursor_x11.h"
#include "qt/x11/X11Window_x11.h"

namespace x11 {
namespace {

constexpr uint32_t kEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                                XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                XCB_EVENT_MASK_POINTER_MOTION;

// The atoms a note window uses, asked for together: one wait for all of them, once.
struct NoteAtomSet {
    xcb_atom_t utf8, netWmName, role, pid, windowType, utility, motifHints, netWmState, above, skipTaskbar,
        skipPager, protocols, deleteWindow, moveResize, desktop, sticky;
};

const NoteAtomSet& NoteAtoms() {
    static const NoteAtomSet atoms = [] {
        const std::vector<xcb_atom_t> v = x11::Atoms(
            {"UTF8_STRING", "_NET_WM_NAME", "WM_WINDOW_ROLE", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE",
             "_NET_WM_WINDOW_TYPE_UTILITY", "_MOTIF_WM_HINTS", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
             "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "WM_PROTOCOLS", "WM_DELETE_WINDOW",
             "_NET_WM_MOVERESIZE", "_NET_WM_DESKTOP", "_NET_WM_STATE_STICKY"});
        return NoteAtomSet{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13], v[14], v[15]};
    }();
    return atoms;
}

// A 32-bit visual with alpha, and its colormap: windows with per-pixel alpha need both.
struct AlphaVisual {
    xcb_visualid_t visual = 0;
    xcb_colormap_t colormap = XCB_NONE;
};

const AlphaVisual& FindAlphaVisual() {
    static const AlphaVisual found = [] {
        AlphaVisual result;
        xcb_connection_t* c = Connection();
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
            if (depths.data->depth != 32) continue;
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
                if (visuals.data->_class != XCB_VISUAL_CLASS_TRUE_COLOR) continue;
                result.visual = visuals.data->visual_id;
                result.colormap = xcb_generate_id(c);
                xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, result.colormap, screen->root, result.visual);
                return result;
            }
        }
        return result;
    }();
    return found;
}

// One graphics context per depth serves every window of that depth.
xcb_gcontext_t ContextFor(xcb_window_t window, uint8_t depth) {
    static std::map<uint8_t, xcb_gcontext_t> contexts;
    auto found = contexts.find(depth);
    if (found != contexts.end()) return found->second;
    xcb_connection_t* c = Connection();
    const xcb_gcontext_t context = xcb_generate_id(c);
    const uint32_t noExposures = 0;
    xcb_create_gc(c, context, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    contexts[depth] = context;
    return context;
}

uint32_t CursorFor(SizeCursor cursor) {
    static std::map<SizeCursor, uint32_t> cursors;
    if (cursor == SizeCursor::Arrow) return XCB_NONE;  // the parent's: the desktop's arrow
    auto found = cursors.find(cursor);
    if (found != cursors.end()) return found->second;
    const uint32_t id = SizeCursorId(cursor == SizeCursor::WestEast);
    cursors[cursor] = id;
    return id;
}

void SetProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint8_t format, uint32_t count,
                 const void* data) {
    xcb_change_property(Connection(), XCB_PROP_MODE_REPLACE, window, property, type, format, count, data);
}

void SetString(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, const std::string& text) {
    SetProperty(window, property, type, 8, uint32_t(text.size()), text.data());
}

// How the window is named, what kind it is and how a window manager should treat it (ICCCM, EWMH).
void Describe(xcb_window_t window, const std::string& name, const WindowRect& rect) {
    const NoteAtomSet& atoms = NoteAtoms();
    SetString(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, name);
    SetString(window, atoms.netWmName, atoms.utf8, name);
    SetString(window, atoms.role, XCB_ATOM_STRING, name);  // lets tools find a note by its class name
    static const char kClass[] = "skyslate2\0Skyslate2";
    SetProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof kClass, kClass);
    const uint32_t pid = uint32_t(getpid());
    SetProperty(window, atoms.pid, XCB_ATOM_CARDINAL, 32, 1, &pid);
    // No input: a note never takes the keyboard focus.
    const uint32_t hints[9] = {1 | 2, 0, 1, 0, 0, 0, 0, 0, 0};  // InputHint | StateHint, NormalState
    SetProperty(window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9, hints);
    // Placed by the program: window managers keep the place and size.
    uint32_t sizeHints[18] = {1 | 2 | 4 | 8};  // USPosition | USSize | PPosition | PSize
    sizeHints[1] = uint32_t(rect.left);
    sizeHints[2] = uint32_t(rect.top);
    sizeHints[3] = uint32_t(rect.width());
    sizeHints[4] = uint32_t(rect.height());
    SetProperty(window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, sizeHints);
    SetProperty(window, atoms.windowType, XCB_ATOM_ATOM, 32, 1, &atoms.utility);
    const uint32_t noDecorations[5] = {2, 0, 0, 0, 0};
    SetProperty(window, atoms.motifHints, atoms.motifHints, 32, 5, noDecorations);
    // On every workspace, as desktop widgets are.
    const uint32_t allDesktops = 0xFFFFFFFF;
    SetProperty(window, atoms.desktop, XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    // A window manager asks before it closes a window; a note stays.
    SetProperty(window, atoms.protocols, XCB_ATOM_ATOM, 32, 1, &atoms.deleteWindow);
}

void SetShape(xcb_window_t window, xcb_shape_kind_t kind, const std::vector<QRect>& rects) {
    std::vector<xcb_rectangle_t> xrects;
    xrects.reserve(rects.size());
    for (const QRect& r : rects)
        xrects.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    xcb_shape_rectangles(Connection(), XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, window, 0, 0,
                         uint32_t(xrects.size()), xrects.data());
}

void SendToRoot(xcb_window_t window, xcb_atom_t type, const uint32_t (&data)[5]) {
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(std::begin(data), std::end(data), message.data.data32);
    xcb_send_event(Connection(), 0, Root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

}  // namespace

NoteSurface::NoteSurface(const std::string& name, const WindowRect& rect) : rect_(rect) {
    xcb_connection_t* c = Connection();
    if (!c) return;
    const AlphaVisual& alpha = FindAlphaVisual();
    const bool withAlpha = alpha.visual != 0 && CompositingActive();
    window_ = xcb_generate_id(c);
    depth_ = withAlpha ? 32 : xcb_setup_roots_iterator(xcb_get_setup(c)).data->root_depth;
    // With per-pixel alpha the server clears to transparent; without, the shape hides all but the text.
    // Where the window manager would put the note anywhere, it is left out: the note places itself.
    ownPlace_ = WindowManagerIgnoresPlaces();
    const uint32_t values[] = {0, 0, ownPlace_ ? 1u : 0u, kEventMask, alpha.colormap};
    const uint32_t mask = (withAlpha ? XCB_CW_BACK_PIXEL : XCB_CW_BACK_PIXMAP) | XCB_CW_BORDER_PIXEL |
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK | (withAlpha ? XCB_CW_COLORMAP : 0);
    xcb_create_window(c, depth_, window_, Root(), int16_t(rect.left), int16_t(rect.top),
                      uint16_t(std::max(1, rect.width())), uint16_t(std::max(1, rect.height())), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, withAlpha ? alpha.visual : uint32_t(XCB_COPY_FROM_PARENT), mask,
                      values);
    Describe(window_, name, rect);
    SetNetWmState();
}

NoteSurface::~NoteSurface() { Destroy(); }

void NoteSurface::Destroy() {
    if (!Valid()) return;
    xcb_destroy_window(Connection(), window_);
    xcb_flush(Connection());
    window_ = XCB_NONE;
    visible_ = false;
}

void NoteSurface::SetNetWmState() {
    const NoteAtomSet& atoms = NoteAtoms();
    std::vector<xcb_atom_t> states{atoms.skipTaskbar, atoms.skipPager, atoms.sticky};
    if (above_) states.push_back(atoms.above);
    SetProperty(window_, atoms.netWmState, XCB_ATOM_ATOM, 32, uint32_t(states.size()), states.data());
}

void NoteSurface::SetVisible(bool visible, NoteSurfaces& surfaces) {
    if (!Valid() || visible == visible_) return;
    visible_ = visible;
    xcb_connection_t* c = Connection();
    if (visible) {
        surfaces.QueueMap(*this);
    } else {
        surfaces.CancelMap(*this);
        xcb_unmap_window(c, window_);
        // Withdrawn, as ICCCM asks: a window manager forgets the window until it is mapped again.
        xcb_unmap_notify_event_t unmap = {};
        unmap.response_type = XCB_UNMAP_NOTIFY;
        unmap.event = Root();
        unmap.window = window_;
        xcb_send_event(c, 0, Root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&unmap));
    }
    xcb_flush(c);
}

void NoteSurface::MapBelow(xcb_window_t above) {
    if (!Valid() || !visible_) return;
    xcb_connection_t* c = Connection();
    if (above != XCB_NONE) {
        const uint32_t below[] = {above, XCB_STACK_MODE_BELOW};
        xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, below);
    }
    xcb_map_window(c, window_);
}

void NoteSurface::SetAbove(bool above) {
    if (!Valid() || above == above_) return;
    above_ = above;
    SetNetWmState();  // what a window manager reads when the window is mapped
    if (visible_) {
        const uint32_t change[5] = {above ? 1u : 0u, NoteAtoms().above, 0, 1, 0};  // add or remove, by an application
        SendToRoot(window_, NoteAtoms().netWmState, change);
        if (above) {
            const uint32_t stackAbove = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(Connection(), window_, XCB_CONFIG_WINDOW_STACK_MODE, &stackAbove);
            RaiseDialogsAboveNotes();
        }
    }
    xcb_flush(Connection());
}

void NoteSurface::Configure(const WindowRect& rect) {
    if (!Valid()) return;
    const uint32_t values[] = {uint32_t(rect.left), uint32_t(rect.top), uint32_t(std::max(1, rect.width())),
                               uint32_t(std::max(1, rect.height()))};
    xcb_configure_window(Connection(), window_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(Connection());
    rect_ = rect;
}

std::optional<WindowRect> NoteSurface::Geometry() {
    if (!Valid()) return std::nullopt;
    if (!positionKnown_) {
        xcb_connection_t* c = Connection();
        auto* place = xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window_, Root(), 0, 0), nullptr);
        if (!place) return std::nullopt;
        rect_ = {place->dst_x, place->dst_y, place->dst_x + rect_.width(), place->dst_y + rect_.height()};
        positionKnown_ = true;
        free(place);
    }
    return rect_;
}

void NoteSurface::SetShapes(const std::vector<QRect>& bounding, const std::vector<QRect>& input) {
    bounding_ = bounding;
    input_ = input;
    ApplyShapes();
}

void NoteSurface::ApplyShapes() {
    if (!Valid()) return;
    SetShape(window_, XCB_SHAPE_SK_BOUNDING, bounding_);
    SetShape(window_, XCB_SHAPE_SK_INPUT, input_);
    xcb_flush(Connection());
}

void NoteSurface::Clear(const QRect& area) {
    if (!Valid() || !HasAlpha() || area.isEmpty()) return;
    xcb_clear_area(Connection(), 0, window_, int16_t(area.x()), int16_t(area.y()), uint16_t(area.width()),
                   uint16_t(area.height()));
}

// In bands of rows small enough for one request each. The image's premultiplied ARGB words are what a
// little-endian X server takes for 32-bit pixels (and what a 24-bit window reads its colour from).
void NoteSurface::Put(const QImage& image, QPoint origin, const std::vector<QRect>& areas) {
    if (!Valid() || image.isNull()) return;
    for (const QRect& area : areas) PutPart(image, origin, area & QRect(origin, image.size()));
    xcb_flush(Connection());
}

void NoteSurface::PutPart(const QImage& image, QPoint origin, const QRect& part) {
    if (part.isEmpty()) return;
    xcb_connection_t* c = Connection();
    const xcb_gcontext_t context = ContextFor(window_, depth_);
    const size_t rowBytes = size_t(part.width()) * 4;
    const size_t maxBytes = size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int rowsPerRequest = std::max(1, int(maxBytes / rowBytes));
    // Whole rows lie one after the other in the image: they go as they are, without a copy.
    const bool wholeRows = part.width() == image.width() && size_t(image.bytesPerLine()) == rowBytes;
    std::vector<uint8_t> band;
    for (int y = part.top(); y <= part.bottom(); y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, part.bottom() + 1 - y);
        const uint8_t* pixels = image.constScanLine(y - origin.y());
        if (!wholeRows) {
            band.resize(rowBytes * size_t(rows));
            for (int row = 0; row < rows; ++row)
                std::memcpy(band.data() + rowBytes * size_t(row),
                            image.constScanLine(y + row - origin.y()) + (part.x() - origin.x()) * 4, rowBytes);
            pixels = band.data();
        }
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, context, uint16_t(part.width()), uint16_t(rows),
                      int16_t(part.x()), int16_t(y), 0, depth_, uint32_t(rowBytes * size_t(rows)), pixels);
    }
}

void NoteSurface::SetCursor(SizeCursor cursor) {
    if (!Valid() || cursor == cursor_) return;
    cursor_ = cursor;
    const uint32_t id = CursorFor(cursor);
    xcb_change_window_attributes(Connection(), window_, XCB_CW_CURSOR, &id);
    xcb_flush(Connection());
}

// As EWMH asks: the pointer's implicit grab is released, and the window manager is told where the press
// that began the drag was, so that the window keeps its offset to the pointer however far it moved since.
bool NoteSurface::StartWindowManagerDrag(Point pressRoot, MoveResize direction) {
    if (!Valid() || ownPlace_ || !WindowManagerSupports(NoteAtoms().moveResize)) return false;
    xcb_ungrab_pointer(Connection(), XCB_CURRENT_TIME);
    const uint32_t request[5] = {uint32_t(pressRoot.x), uint32_t(pressRoot.y), uint32_t(direction), 1, 1};
    SendToRoot(window_, NoteAtoms().moveResize, request);
    xcb_flush(Connection());
    return true;
}

SurfaceEvent NoteSurface::Translate(const xcb_generic_event_t& event) {
    SurfaceEvent result;
    switch (event.response_type & 0x7F) {
        case XCB_EXPOSE: {
            const auto& e = reinterpret_cast<const xcb_expose_event_t&>(event);
            result.kind = SurfaceEvent::Kind::Expose;
            result.area = QRect(e.x, e.y, e.width, e.height);
            break;
        }
        case XCB_CONFIGURE_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
            const bool resized = e.width != rect_.width() || e.height != rect_.height();
            // A real event inside a window manager's frame gives the place in the frame, not on the screen.
            const bool onScreen = (event.response_type & 0x80) || !reparented_;
            const int32_t left = onScreen ? e.x : rect_.left;
            const int32_t top = onScreen ? e.y : rect_.top;
            rect_ = {left, top, left + e.width, top + e.height};
            positionKnown_ = onScreen;
            result.kind = resized ? SurfaceEvent::Kind::Resized : SurfaceEvent::Kind::Moved;
            break;
        }
        case XCB_MAP_NOTIFY:
            // Some window managers take a new window's input shape over to their frame only when it
            // changes once the window is theirs: so it changes again.
            if (reparented_) ApplyShapes();
            result.kind = SurfaceEvent::Kind::Mapped;
            break;
        case XCB_REPARENT_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_reparent_notify_event_t&>(event);
            reparented_ = e.parent != Root();
            positionKnown_ = positionKnown_ && !reparented_;
            break;
        }
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE: {
            const auto& e = reinterpret_cast<const xcb_button_press_event_t&>(event);
            result.kind = (event.response_type & 0x7F) == XCB_BUTTON_PRESS ? SurfaceEvent::Kind::Press
                                                                             : SurfaceEvent::Kind::Release;
            result.button = e.detail;
            result.local = {e.event_x, e.event_y};
            result.root = {e.root_x, e.root_y};
            result.time = e.time;
            break;
        }
        case XCB_MOTION_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
            result.kind = SurfaceEvent::Kind::Motion;
            result.local = {e.event_x, e.event_y};
            result.root = {e.root_x, e.root_y};
            result.leftHeld = (e.state & XCB_BUTTON_MASK_1) != 0;
            break;
        }
        default:
            break;
    }
    return result;
}

}  // namespace x11
