#include "x11/X11Window_x11.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QWidget>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace x11 {
namespace {

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// Atoms never change while the connection lasts: each is asked for once.
xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    static QHash<QByteArray, xcb_atom_t> known;
    auto found = known.constFind(name);
    if (found != known.constEnd()) return *found;
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    known.insert(name, atom);
    return atom;
}

void SetShape(QWidget& window, xcb_shape_kind_t kind, const std::vector<QRect>& rects) {
    xcb_connection_t* connection = Connection();
    if (!connection) return;
    std::vector<xcb_rectangle_t> xrects;
    xrects.reserve(rects.size());
    for (const QRect& r : rects)
        xrects.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(window.winId()),
                         0, 0, uint32_t(xrects.size()), xrects.data());
    xcb_flush(connection);
}

// A compositing manager owns the selection _NET_WM_CM_S<screen>.
bool AskCompositingActive() {
    xcb_connection_t* connection = Connection();
    if (!connection) return false;
    const std::string name = "_NET_WM_CM_S0";  // the program runs on the default screen
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, Atom(connection, name.c_str())), nullptr);
    const bool active = reply && reply->owner != XCB_NONE;
    free(reply);
    return active;
}

xcb_window_t Root(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Whether the window manager lists the atom in _NET_SUPPORTED; asked once per atom and connection.
bool WindowManagerSupports(xcb_connection_t* connection, xcb_atom_t wanted) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, Root(connection), Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
        nullptr);
    if (!reply) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
    const bool supported = std::find(atoms, atoms + count, wanted) != atoms + count;
    free(reply);
    return supported;
}

}  // namespace

bool CompositingActive() {
    static QElapsedTimer lastAsked;
    static bool active = false;
    if (lastAsked.isValid() && lastAsked.elapsed() < 1000) return active;
    lastAsked.start();
    active = AskCompositingActive();
    return active;
}

std::vector<QRect> PaintedRects(const QImage& image) {
    const QRect area = image.rect();
    std::vector<QRect> rects;
    std::vector<QRect> previousRow;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::vector<QRect> row;
        for (int x = area.left(); x <= area.right();) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= area.right() && qAlpha(line[x]) != 0) ++x;
            row.push_back(QRect(start, y, x - start, 1));
        }
        // A run equal to one in the row above grows that rectangle instead of adding one.
        std::vector<QRect> open;
        for (QRect& run : row) {
            auto above = std::find_if(previousRow.begin(), previousRow.end(), [&](const QRect& r) {
                return r.left() == run.left() && r.width() == run.width() && r.bottom() == y - 1;
            });
            if (above != previousRow.end()) {
                above->setBottom(y);
                open.push_back(*above);
                above->setWidth(0);  // taken
            } else {
                open.push_back(run);
            }
        }
        for (const QRect& r : previousRow)
            if (r.width() > 0) rects.push_back(r);
        previousRow = std::move(open);
    }
    rects.insert(rects.end(), previousRow.begin(), previousRow.end());
    return rects;
}

void SetInputShape(QWidget& window, const std::vector<QRect>& rects) { SetShape(window, XCB_SHAPE_SK_INPUT, rects); }

void SetBoundingShape(QWidget& window, const std::vector<QRect>& rects) {
    SetShape(window, XCB_SHAPE_SK_BOUNDING, rects);
}

void SkipTaskbarAndPager(QWidget& window) {
    xcb_connection_t* connection = Connection();
    if (!connection) return;
    const xcb_atom_t states[] = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, xcb_window_t(window.winId()),
                        Atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(connection);
}

}  // namespace x11

namespace x11 {

// As EWMH asks: the pointer's implicit grab is released, and the window manager is told where the press
// that began the drag was, so that the window keeps its offset to the pointer however far it moved since.
bool StartWindowManagerDrag(QWidget& window, int rootX, int rootY, MoveResize direction) {
    xcb_connection_t* connection = Connection();
    if (!connection) return false;
    const xcb_atom_t moveResize = Atom(connection, "_NET_WM_MOVERESIZE");
    if (!WindowManagerSupports(connection, moveResize)) return false;
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window.winId());
    message.type = moveResize;
    message.data.data32[0] = uint32_t(rootX);
    message.data.data32[1] = uint32_t(rootY);
    message.data.data32[2] = uint32_t(direction);
    message.data.data32[3] = 1;  // the left button
    message.data.data32[4] = 1;  // asked for by an application
    xcb_send_event(connection, 0, Root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

}  // namespace x11
