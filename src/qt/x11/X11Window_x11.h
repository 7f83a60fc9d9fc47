#pragma once

#include <QImage>
#include <QRect>

#include <xcb/xcb.h>

#include <vector>

// X11 details the note windows need and Qt does not offer. Everything goes over Qt's own connection.
namespace x11 {

xcb_connection_t* Connection();
xcb_window_t Root();
// Atoms never change while the connection lasts: each is asked for once, those asked for together
// in one wait.
std::vector<xcb_atom_t> Atoms(const std::vector<const char*>& names);
xcb_atom_t Atom(const char* name);

// True when a compositing manager runs, so per-pixel alpha shows. Asks the X server at most once a
// second.
bool CompositingActive();

// Whether the window manager lists the atom in _NET_SUPPORTED (false without a window manager).
bool WindowManagerSupports(xcb_atom_t atom);

// Whether the window manager puts every window where it likes, whatever the program asked (weston's).
bool WindowManagerIgnoresPlaces();

// Whether the left button is down now, wherever the pointer is (one round trip).
bool LeftButtonHeld();

// Raises the program's dialogs (its windows that stay on top) that are open over the notes, after a note
// came up: a dialog never lies under a note's text, which would take its clicks.
void RaiseDialogsAboveNotes();

}  // namespace x11
