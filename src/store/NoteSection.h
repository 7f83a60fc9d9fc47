#pragma once

#include <string>
#include <vector>

#include "store/FileLayout.h"
#include "store/IniFile.h"
#include "store/NoteRecord.h"

// A note's section of the settings file: which sections are notes, what a note reads from its section
// and how a save writes it back, changing only the keys the program owns.

// The program-wide flags that every note section repeats.
struct SharedFlags {
    bool autoStart = false;
    bool locked = false;
};

// True when a section is a note's: named "Text_<n>" as the program names them, or holding a key that
// only a note has. Other programs' sections are kept, never read as notes.
bool IsNoteSection(const IniSection& section);
bool IsMarkedDeleted(const IniSection& section);

// The note a section holds; missing keys take their defaults, an empty value is empty.
NoteRecord ReadNote(const IniSection& section);
SharedFlags ReadSharedFlags(const IniSection& section);

// The lines of a note's section, the first line of each of the program's keys marked as its own.
std::vector<KeptLine> KeepNoteLines(const IniSection& section);
// Every line as written.
std::vector<KeptLine> KeepAllLines(const IniSection& section);

// Writes the section "name" for a note: its lines where they were, the note's values in the places of
// the program's keys, and the keys the section lacked after its last key line.
void WriteNoteSection(IniWriter& out, const std::string& name, const NoteRecord& note,
                      const std::vector<KeptLine>& lines, const SharedFlags& flags);
// A section kept as written; a note past the capacity also takes this run's flags, so that every
// section of the file agrees on them whichever one a later load reads them from.
void WriteKeptSection(IniWriter& out, const FileSection& section, const SharedFlags& flags);
