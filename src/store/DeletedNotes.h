#pragma once

#include <string>
#include <vector>

#include "store/NoteRecord.h"

// Who took a note away: the user here, or another writer of the file (a note their version no longer has).
enum class DeletedBy { Here, OtherWriter };

// The notes that were deleted, newest first, with when and by whom: kept in their own file so that they can
// come back.
struct DeletedNote {
    NoteRecord note;
    std::string deletedAt;  // local time, "YYYY-MM-DD HH:MM"
    DeletedBy by = DeletedBy::Here;
};

inline constexpr size_t kDeletedNotesKept = 50;

// What the file holds; nothing when it is missing, unreadable or a link.
std::vector<DeletedNote> LoadDeletedNotes(const std::string& path);
// Writes the list in one step, at most kDeletedNotesKept of it, as a file of the program's own that is no
// more readable than the file at modeLike (the notes file).
bool SaveDeletedNotes(const std::string& path, const std::vector<DeletedNote>& notes, const std::string& modeLike,
                      std::string* error);
