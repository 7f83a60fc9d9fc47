#include "notewindow/ScreenPixels_qt.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace pixels {

qreal Ratio(const QScreen* screen) { return screen ? screen->devicePixelRatio() : 1.0; }

QPointF ToPhysical(const QPointF& logical, const QScreen* screen) {
    const QPointF origin = screen ? QPointF(screen->geometry().topLeft()) : QPointF();
    return origin + (logical - origin) * Ratio(screen);
}

WindowRect ToPhysical(const QRect& logical, const QScreen* screen) {
    const QPointF topLeft = ToPhysical(QPointF(logical.topLeft()), screen);
    const qreal ratio = Ratio(screen);
    const int32_t left = int32_t(std::lround(topLeft.x()));
    const int32_t top = int32_t(std::lround(topLeft.y()));
    return {left, top, left + int32_t(std::lround(logical.width() * ratio)),
            top + int32_t(std::lround(logical.height() * ratio))};
}

QRect ToLogical(const WindowRect& physical, const QScreen* screen) {
    const QPointF origin = screen ? QPointF(screen->geometry().topLeft()) : QPointF();
    const qreal ratio = Ratio(screen);
    const QPointF topLeft = origin + (QPointF(physical.left, physical.top) - origin) / ratio;
    return QRect(int(std::lround(topLeft.x())), int(std::lround(topLeft.y())),
                 int(std::lround(physical.width() / ratio)), int(std::lround(physical.height() / ratio)));
}

QScreen* ScreenOf(const WindowRect& physical) {
    const QPointF centre((physical.left + physical.right) / 2.0, (physical.top + physical.bottom) / 2.0);
    for (QScreen* screen : QGuiApplication::screens()) {
        const WindowRect area = ToPhysical(screen->geometry(), screen);
        if (centre.x() >= area.left && centre.x() < area.right && centre.y() >= area.top && centre.y() < area.bottom)
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

std::vector<Monitor> Monitors() {
    std::vector<Monitor> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.push_back({ToPhysical(screen->geometry(), screen), ToPhysical(screen->availableGeometry(), screen)});
    return monitors;
}

}  // namespace pixels
