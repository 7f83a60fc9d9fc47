#pragma once

#include <vector>

#include "frontend/FrontEnd.h"
#include "notewindow/Placement.h"

// Qt counts screens in scaled pixels where the desktop is scaled (QT_SCALE_FACTOR, a desktop's own
// scaling); notes, their settings and the X server count in physical pixels.
namespace pixels {

// Every screen as a monitor, in physical pixels.
std::vector<Monitor> Monitors();

}  // namespace pixels
