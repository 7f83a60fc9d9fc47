#pragma once

#include <string>
#include <vector>

#include "store/NoteRecord.h"

// Three-way merge of the notes: what this program holds (ours), what another writer saved (theirs) and
// the version both started from (base). Notes are matched by identity; a field changed on one side takes
// that side's value, and nothing either side wrote is lost.

struct MergeResult {
    // Ours' notes in their order, then those only theirs has. The layout is theirs', with the sections of
    // ours' notes that theirs lacks added at its end.
    NoteState state;
    std::vector<int> oursRow;       // per row: the row of ours it continues, or -1 for a note new here
    std::vector<bool> setAside;     // per row: a text both sides changed, set aside here as a note of its own
    std::vector<std::string> log;   // what was kept that one side had given up, and why
};

// pinned (per row of ours, may be shorter) marks notes in use here: kept even when theirs deleted them.
// Where both sides changed a note's text differently, the note keeps the smaller text and the larger
// comes back as a new note beside it; any other field changed on both sides takes the larger value. So
// both ends of a sync, each merging the other's version into its own, reach the same notes.
MergeResult MergeNotes(const NoteState& base, const NoteState& ours, const NoteState& theirs,
                       const std::vector<bool>& pinned = {});

// How far apart two versions are: fields that differ, a note only one holds counting all its fields.
size_t VersionDistance(const NoteState& a, const NoteState& b);

// A version's notes as a text that is equal exactly when the notes are (for telling versions apart).
bool SameNotes(const NoteState& a, const NoteState& b);
