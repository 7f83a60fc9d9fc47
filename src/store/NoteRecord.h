#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/FileLayout.h"
#include "text/Catalogue.h"

// The face of the first-run note, of added notes and of a section that names none (SimHei).
inline constexpr const char* kDefaultFontFace = "黑体";

// One note's settings, named after the keys of its section in the settings file.
struct NoteRecord {
    bool isShow = false;
    bool autoStart = false;
    int32_t positionX = 0;
    int32_t positionY = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t color = 0xFF000000;  // ARGB, always opaque
    std::string font;              // UTF-8 face name
    int32_t fontSize = 0;          // tenths of a point
    bool isDelete = false;
    std::string text;              // UTF-8, line breaks held as kLineBreakMarker
    bool isTopWin = false;
    // The note whatever section it is in, for merging other writers' versions: written as "noteId" once a
    // save gave it one; until then "@<section name>", which names it by its place alone.
    std::string identity;
    // Where the note came from: its section in FileLayout::sections, or kNewSection for a note the
    // file does not hold yet. A save writes the note back there, with what else the section holds.
    int32_t section = kNewSection;
};

inline bool HasOwnIdentity(const NoteRecord& note) { return !note.identity.empty() && note.identity[0] != '@'; }

// What a note holds where its section says nothing; with the welcome text, the first-run note.
inline NoteRecord DefaultNote() {
    NoteRecord note;
    note.isShow = true;
    note.positionX = 500;
    note.positionY = 500;
    note.width = 800;
    note.height = 500;
    note.color = 0xFFFF0000;
    note.font = kDefaultFontFace;
    note.fontSize = 380;
    note.isTopWin = true;
    return note;
}

// A note the user adds is wider and blue; a negative stored size stands for this size.
inline constexpr int32_t kNewNoteWidth = 1200;
inline constexpr uint32_t kNewNoteColor = 0xFF0000FF;

// The notes of the settings file: rows in file order, at most kCapacity of them, and everything else
// the file holds.
struct NoteTable {
    static constexpr size_t kCapacity = 1024;

    std::vector<NoteRecord> rows;
    std::vector<std::string> sectionNames;   // row i was read from sectionNames[i]
    FileLayout layout;

    size_t count() const { return rows.size(); }
    bool full() const { return rows.size() >= kCapacity; }
};

// What the settings file holds: the notes and the program-wide flags that every section repeats.
struct NoteState {
    NoteTable table;
    UiLanguage language = UiLanguage::Chinese;  // of the first-run note
    bool m_autoStart = false;  // start with the user's login
    bool m_locked = false;     // every note lets the mouse through
};
