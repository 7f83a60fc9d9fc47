#include "qt/x11/X11Window_x11.h"

#include <optional>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace x11 {

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

void RaiseDialogsAboveNotes() {
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (window->isVisible() && (window->flags() & Qt::WindowStaysOnTopHint)) window->raise();
}

xcb_window_t Root() { return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root; }

std::vector<xcb_atom_t> Atoms(const std::vector<const char*>& names) {
    static QHash<QByteArray, xcb_atom_t> known;
    xcb_connection_t* connection = Connection();
    std::vector<xcb_atom_t> atoms(names.size(), XCB_ATOM_NONE);
    std::vector<std::optional<xcb_intern_atom_cookie_t>> asked(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const auto found = known.constFind(names[i]);
        if (found != known.constEnd()) atoms[i] = *found;
        else asked[i] = xcb_intern_atom(connection, 0, uint16_t(strlen(names[i])), names[i]);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (!asked[i]) continue;
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, *asked[i], nullptr);
        if (reply) atoms[i] = reply->atom;
        free(reply);
        known.insert(names[i], atoms[i]);
    }
    return atoms;
}

xcb_atom_t Atom(const char* name) { return Atoms({name})[0]; }

namespace {

// A compositing manager owns the selection _NET_WM_CM_S<screen>.
bool AskCompositingActive() {
    xcb_connection_t* connection = Connection();
    if (!connection) return false;
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, Atom("_NET_WM_CM_S0")), nullptr);
    const bool active = reply && reply->owner != XCB_NONE;
    free(reply);
    return active;
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

bool WindowManagerSupports(xcb_atom_t wanted) {
    xcb_connection_t* connection = Connection();
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, Root(), Atom("_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096), nullptr);
    if (!reply) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
    const bool supported = std::find(atoms, atoms + count, wanted) != atoms + count;
    free(reply);
    return supported;
}

// Weston's window manager puts every window it manages where it likes (a cascade from 32,32), whatever
// the program asked: the one window manager known to do that.
bool WindowManagerIgnoresPlaces() {
    static const bool ignores = [] {
        xcb_connection_t* c = Connection();
        auto* check = xcb_get_property_reply(
            c, xcb_get_property(c, 0, Root(), Atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1), nullptr);
        if (!check) return false;
        const xcb_window_t wm = xcb_get_property_value_length(check) == 4
                                    ? *static_cast<const xcb_window_t*>(xcb_get_property_value(check))
                                    : xcb_window_t(XCB_NONE);
        free(check);
        if (wm == XCB_NONE) return false;
        auto* name = xcb_get_property_reply(
            c, xcb_get_property(c, 0, wm, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 0, 64), nullptr);
        if (!name) return false;
        const std::string text(static_cast<const char*>(xcb_get_property_value(name)),
                               size_t(xcb_get_property_value_length(name)));
        free(name);
        return text == "Weston WM";
    }();
    return ignores;
}

bool LeftButtonHeld() {
    xcb_connection_t* connection = Connection();
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, Root()), nullptr);
    if (!reply) return false;
    const bool held = (reply->mask & XCB_BUTTON_MASK_1) != 0;
    free(reply);
    return held;
}

}  // namespace x11
