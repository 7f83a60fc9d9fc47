#pragma once

#include <cstddef>

// Whether a command may go ahead, decided from the facts alone.

// A note may be hidden unless it is the last one the user can see: one whose window the system refused
// shows nothing, so it neither counts nor needs keeping.
struct HideFacts {
    int notesOnScreen = 0;
    bool noteOnScreen = false;
};
inline bool MayHide(const HideFacts& facts) { return !facts.noteOnScreen || facts.notesOnScreen > 1; }

// One note always stays.
inline bool MayDelete(size_t noteCount) { return noteCount > 1; }

struct AddFacts {
    size_t noteCount = 0;
    size_t tableCapacity = 0;
    int windowsLeft = 0;
};
inline bool MayAdd(const AddFacts& facts) { return facts.noteCount < facts.tableCapacity && facts.windowsLeft > 0; }
