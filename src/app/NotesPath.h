#pragma once

#include <string>

#include "app/CommandLine.h"

// Where the Linux program can show its notes: on the Wayland compositor's layer shell, or as X11 windows
// (on an X server, or through XWayland), and what the desktop offers of these.
enum class NotesPath { LayerShell, X11, None };

struct DesktopOffers {
    bool x11 = false;         // DISPLAY is set
    bool wayland = false;     // WAYLAND_DISPLAY is set and its compositor answers
    bool layerShell = false;  // that compositor offers the layer shell
};

// The compositor's own notes where it has a layer shell, X11 windows otherwise; what the user asked for
// when it is there. None: no way to show a note, which the program says before it ends.
NotesPath ChooseNotesPath(NotesOn asked, const DesktopOffers& offers);

// Why no note can show, for the user.
std::string NoNotesPathText(NotesOn asked, const DesktopOffers& offers);
