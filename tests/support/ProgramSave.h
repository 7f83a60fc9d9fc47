#pragma once

#include <sstream>
#include <string>

#include "StoreFakes.h"
#include "store/NotesFile.h"

// Saves the notes as the program does: its file side looks at the file, then writes them over it in one
// step, and the table becomes what the file now holds. False (and why, in error) when nothing was written.
inline bool SaveAsTheProgram(NoteState& state, const std::string& path, std::string* error = nullptr) {
    FakeClock clock;
    FakeLog log;
    NotesFile::Setup setup;
    setup.settingsPath = path;
    setup.language = state.language;
    setup.settle = SettleTimes{0, 0, 250};
    NotesFile file(setup, clock, log);
    const size_t capacity = NoteTable::kCapacity;
    if (file.Load(capacity).loaded.outcome == LoadOutcome::Unreadable) return false;
    NotesFile::Saved saved = file.Save(state, std::vector<bool>(state.table.rows.size(), false),
                                       NotesFile::Then::GoOn, capacity);
    if (saved.status != NotesFile::Saved::Status::Saved) {
        if (error) *error = saved.error;
        return false;
    }
    state = std::move(saved.notes);
    if (saved.written) state.table = std::move(*saved.written);
    else LoadSettings(state, path, capacity);  // it held them already: nothing was written
    return true;
}

// The file's text without the lines that name each note's identity, which a save makes up at random.
inline std::string WithoutIdentities(const std::string& text) {
    std::istringstream lines(text);
    std::string line, kept;
    while (std::getline(lines, line))
        if (line.rfind("noteId=", 0) != 0) kept += line + "\n";
    return kept;
}
