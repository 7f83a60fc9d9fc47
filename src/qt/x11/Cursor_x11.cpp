#include "qt/x11/Cursor_x11.h"

#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/cursorfont.h>

namespace x11 {

uint32_t SizeCursorId(bool westEast) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return 0;
    const uint32_t id = uint32_t(XCreateFontCursor(display, westEast ? XC_sb_h_double_arrow : XC_sb_v_double_arrow));
    XFlush(display);
    return id;
}

}  // namespace x11
