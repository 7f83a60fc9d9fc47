#pragma once

#include <string>

#include "store/FileIO.h"
#include "store/NoteRecord.h"

inline constexpr const char* kSettingsFileName = "TextSetting.ini";

// The greeting that the first-run note and every added note start with.
std::string WelcomeText(UiLanguage language = UiLanguage::Chinese);
// The note written when there is no settings file.
NoteRecord FirstRunNote(UiLanguage language = UiLanguage::Chinese);

enum class LoadOutcome {
    Loaded,              // the file was read
    FirstRunWritten,     // there was no file: the first-run note was written and loaded
    FirstRunNotWritten,  // there was no file and none could be written: the first-run note is in memory only
    NoNotes,             // the file holds no note: the first-run note is in memory, the file untouched
    Unreadable,          // the file exists but could not be read or is not a settings file: the first-run
                         // note is in memory only, and the file must not be written over
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    std::string problem;  // what went wrong, for the log
    FileFingerprint file;  // of the file as read or written
};

// Replaces the table and the program-wide flags with what the file at path holds. At most capacity notes
// go into the rows; the note sections after them are kept aside unchanged, as are sections that are not
// notes, comments and keys the program does not know. Sections marked deleted are left out: the next
// save drops them.
LoadResult LoadSettings(NoteState& state, const std::string& path, size_t capacity = NoteTable::kCapacity);

// Same, from the file's decoded content.
LoadOutcome LoadSettingsFromText(NoteState& state, std::string text, size_t capacity = NoteTable::kCapacity);

// The file's content for the table: every row not marked deleted as "Text_<row>", in the place and with
// the other lines of the section it came from, every section with the program-wide flags; everything
// the program does not own as it was.
std::string SerializeSettings(const NoteState& state);
