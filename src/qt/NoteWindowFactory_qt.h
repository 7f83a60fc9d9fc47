#pragma once

#include <functional>

#include "frontend/FrontEnd.h"

// What the Linux note windows of either kind (X11 windows, layer surfaces) tell: a double-click on a
// note reaches onDoubleClick, the end of a user's drag onUserPlaced.
class QtNoteWindowFactory : public NoteWindowFactory {
public:
    std::function<void(NoteWindow&)> onDoubleClick;
    UserPlacedHandler onUserPlaced;
};
