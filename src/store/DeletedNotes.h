#pragma once

#include <string>
#include <vector>

#include "store/NoteRecord.h"

// The notes the user deleted, newest first, with when: kept in their own file so that they can come back.
struct DeletedNote {
    NoteRecord note;
    std::string deletedAt;  // local time, "YYYY-MM-DD HH:MM"
};

inline constexpr size_t kDeletedNotesKept = 50;

// What the file holds; nothing when it is missing or unreadable.
std::vector<DeletedNote> LoadDeletedNotes(const std::string& path);
// Writes the list in one step, at most kDeletedNotesKept of it.
bool SaveDeletedNotes(const std::string& path, const std::vector<DeletedNote>& notes, std::string* error);
