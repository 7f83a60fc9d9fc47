#include "app/NotesPath.h"

NotesPath ChooseNotesPath(NotesOn asked, const DesktopOffers& offers) {
    const bool layerShell = offers.wayland && offers.layerShell;
    switch (asked) {
        case NotesOn::Wayland: return layerShell ? NotesPath::LayerShell : NotesPath::None;
        case NotesOn::X11: return offers.x11 ? NotesPath::X11 : NotesPath::None;
        case NotesOn::Any: break;
    }
    if (layerShell) return NotesPath::LayerShell;
    return offers.x11 ? NotesPath::X11 : NotesPath::None;
}

std::string NoNotesPathText(NotesOn asked, const DesktopOffers& offers) {
    if (asked == NotesOn::Wayland && offers.wayland)
        return "The Wayland compositor offers no layer shell, so notes cannot show on it; "
               "start the program without --notes-on wayland to show them through XWayland.";
    if (asked == NotesOn::Wayland) return "No Wayland compositor answers (WAYLAND_DISPLAY), so notes cannot show.";
    if (offers.wayland)
        return "Notes cannot show: the Wayland compositor offers no layer shell and no X server answers "
               "(DISPLAY); start XWayland, or use a compositor with a layer shell.";
    return "Notes cannot show: neither an X server (DISPLAY) nor a Wayland compositor (WAYLAND_DISPLAY) answers.";
}
