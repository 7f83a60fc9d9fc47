#pragma once

#include <QPoint>
#include <QRect>

#include "notewindow/NoteWindow.h"
#include "notewindow/Placement.h"

class QScreen;

// Qt counts in scaled pixels where the desktop is scaled (QT_SCALE_FACTOR, a desktop's own scaling);
// notes, their settings and the X server count in physical pixels. Within a screen, Qt maps a physical
// point p to origin + (p - origin) / ratio, origin being the screen's top-left corner.
namespace pixels {

qreal Ratio(const QScreen* screen);
QPointF ToPhysical(const QPointF& logical, const QScreen* screen);
WindowRect ToPhysical(const QRect& logical, const QScreen* screen);
QRect ToLogical(const WindowRect& physical, const QScreen* screen);
// The screen a physical rectangle lies on most (its centre), or the primary screen.
QScreen* ScreenOf(const WindowRect& physical);
// Every screen as a monitor, in physical pixels.
std::vector<Monitor> Monitors();

}  // namespace pixels
