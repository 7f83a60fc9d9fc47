#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
};

// A section of the settings file kept as it was read, for sections the table has no room for.
struct RawSection {
    std::string name;
    std::vector<std::string> lines;
};

// The in-memory notes: rows in file order, at most kCapacity of them.
struct NoteTable {
    static constexpr size_t kCapacity = 1024;

    std::vector<NoteRecord> rows;
    std::vector<std::string> sectionNames;   // row i was read from sectionNames[i]
    std::vector<RawSection> overflow;        // sections past the capacity, written back unchanged

    size_t count() const { return rows.size(); }
    bool full() const { return rows.size() >= kCapacity; }
};

// The note state the manager owns: the table plus the program-wide flag, the current note and the
// not yet committed appearance of the current note.
struct NoteState {
    NoteTable table;
    bool m_autoStart = false;
    int32_t m_shownCount = 0;
    int32_t m_current = 0;
    uint32_t m_pendingColor = 0xFF000000;
    std::string m_pendingFont;
    int32_t m_pendingFontSize = 0;
};
