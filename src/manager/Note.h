#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/FrontEnd.h"
#include "frontend/FrontEnd.h"
#include "store/NoteRecord.h"

// The colour, face and size the pickers work on before they are stored in a note.
struct Appearance {
    uint32_t color = 0xFF000000;
    std::string font;
    int32_t fontSize = 0;  // tenths of a point
};

Appearance AppearanceOf(const NoteRecord& record);
// What the manager's and the quick settings' edits show of a note. An edit lays out a line whole, so a
// text too long for that shows only its beginning and cannot be changed there: the note keeps its text
// whatever such an edit holds.
EditableText TextForEdit(const NoteRecord& record);
// What the edit holds: the text, or after a text too long to edit, on a line of its own, the notice
// (text::kTooLongToEdit in the user's language).
std::string EditContent(const EditableText& text, std::string_view notice);
bool IsEditable(const NoteRecord& record);
// Whether two records draw alike: text, colour, face and size.
bool SameLook(const NoteRecord& a, const NoteRecord& b);
// What a note window shows for a record, in an appearance that may be a preview, at a display scale.
NoteLook LookOf(const NoteRecord& record, const Appearance& appearance, double scale);

// The display scale a note shows at: that of the monitor of its stored place.
double ScaleOf(const NoteRecord& record, const std::vector<Monitor>& monitors);
// Where a note belongs on these monitors: its stored place, at its size scaled, or onto a monitor when
// that is not usable.
WindowRect PlaceOf(const NoteRecord& record, const std::vector<Monitor>& monitors);

// A note for as long as the program runs: rows move when notes are deleted, a note's id does not.
using NoteId = uint64_t;

// Who shows a picked appearance on a note before it is stored: the manager dialog or the note's own
// quick settings. Only that one gives it up.
enum class PreviewHolder { Manager, QuickSettings };

struct Preview {
    PreviewHolder holder;
    Appearance appearance;
};

// One note: its settings and its window, held together. The manager alone changes them.
struct Note {
    NoteId id = 0;
    NoteRecord record;
    std::unique_ptr<NoteWindow> window;  // none when the window system refused to create it
    std::optional<Preview> preview;      // what the window shows instead of the record's look
    bool settingsOpen = false;           // its quick settings dialog is open: one at a time

    // Where the program last put the window, or the user's drag left it: nothing is asked twice.
    WindowRect placed;
    bool lookCurrent = false;  // the window shows what the note should show now
    double scale = 1.0;        // the display scale of what the window shows
    bool visible = false;
    bool topMost = true;  // windows are created topmost

    bool OnScreen() const { return window && visible; }
};
