#include "qt/ScreenPixels_qt.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace pixels {
namespace {

// Within a screen Qt maps a physical point p to origin + (p - origin) / ratio, origin being the screen's
// top-left corner.
WindowRect ToPhysical(const QRect& logical, const QScreen& screen) {
    const QPointF origin(screen.geometry().topLeft());
    const qreal ratio = screen.devicePixelRatio();
    const QPointF topLeft = origin + (QPointF(logical.topLeft()) - origin) * ratio;
    const int32_t left = int32_t(std::lround(topLeft.x()));
    const int32_t top = int32_t(std::lround(topLeft.y()));
    return {left, top, left + int32_t(std::lround(logical.width() * ratio)),
            top + int32_t(std::lround(logical.height() * ratio))};
}

}  // namespace

std::vector<Monitor> Monitors() {
    std::vector<Monitor> monitors;
    // Layer-shell notes are laid out in the compositor's logical pixels, which scale by themselves.
    const bool x11 = QGuiApplication::platformName() == "xcb";
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.push_back({ToPhysical(screen->geometry(), *screen), ToPhysical(screen->availableGeometry(), *screen),
                            x11 ? screen->devicePixelRatio() : 1.0});
    return monitors;
}

}  // namespace pixels
