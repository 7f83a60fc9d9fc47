#include "qt/x11/TrayManager_x11.h"

#include <QCoreApplication>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

#include "qt/x11/X11Window_x11.h"

namespace x11 {

namespace {

xcb_atom_t TraySelection() {
    static const xcb_atom_t selection = Atom("_NET_SYSTEM_TRAY_S0");
    return selection;
}

// A tray announces itself to the clients that listen for structure changes of the root window. Qt's own
// mask on the root stays: ours is added to it.
void ListenForRootStructure() {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attributes(
        xcb_get_window_attributes_reply(Connection(), xcb_get_window_attributes(Connection(), Root()), nullptr), free);
    const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(Connection(), Root(), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(Connection());
}

}  // namespace

bool SystemTrayRuns() {
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> owner(
        xcb_get_selection_owner_reply(Connection(), xcb_get_selection_owner(Connection(), TraySelection()), nullptr),
        free);
    return owner && owner->owner != XCB_NONE;
}

SystemTrayStartWatch::SystemTrayStartWatch(std::function<void()> started) : started_(std::move(started)) {
    ListenForRootStructure();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

SystemTrayStartWatch::~SystemTrayStartWatch() { QCoreApplication::instance()->removeNativeEventFilter(this); }

bool SystemTrayStartWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t" || !started_) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
    static const xcb_atom_t manager = Atom("MANAGER");
    if (client->type != manager || client->data.data32[1] != TraySelection()) return false;
    // Told from the event loop: the one told may end this watch.
    QTimer::singleShot(0, QCoreApplication::instance(), std::exchange(started_, nullptr));
    return false;  // Qt may want it too
}

}  // namespace x11
