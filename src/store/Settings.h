#pragma once

#include <string>

#include "store/FileIO.h"
#include "store/NoteRecord.h"

inline constexpr const char* kSettingsFileName = "TextSetting.ini";

// The greeting that the first-run note and every added note start with.
std::string WelcomeText();
// The note written when there is no settings file.
NoteRecord FirstRunNote();

enum class LoadOutcome {
    Loaded,              // the file was read
    FirstRunWritten,     // there was no file: the first-run note was written and loaded
    FirstRunNotWritten,  // there was no file and none could be written: the first-run note is in memory only
    Unreadable,          // the file exists but could not be read: the first-run note is in memory only
};

// Replaces the rows, section names and overflow with what the file at path holds, and m_autoStart when
// the file has a section. Touches no other member.
LoadOutcome LoadSettings(NoteState& state, const std::string& path);

// Same, from text already in memory (the file's decoded content).
void LoadSettingsFromText(NoteState& state, const std::string& text);

// The file's content for the table: every row not marked deleted as "Text_<row>", then the overflow.
std::string SerializeSettings(const NoteState& state);

// Writes the whole file in one step and reloads the table from what was written. Returns false when the
// file could not be written: the old file is then left untouched and the table as it was.
bool SaveSettings(NoteState& state, const std::string& path, const WriteFault* fault = nullptr);
