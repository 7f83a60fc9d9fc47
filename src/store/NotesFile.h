#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/Clock.h"
#include "store/DeletedNotes.h"
#include "store/FailureLog.h"
#include "store/FileSettling.h"
#include "store/NotesMerge.h"
#include "store/NoteRecord.h"
#include "store/Settings.h"
#include "store/SharedFiles.h"
#include "store/SettingsVersions.h"

// The settings file as the notes' owner sees it, shared with other writers: what it held when this
// program last looked, another writer's version merged into this program's notes once it is whole, the
// copies sync tools leave beside it, the daily copies and the deleted notes, and the save (settled,
// locked, merged and written in one step). It takes notes and returns notes; it knows no window.
class NotesFile {
public:
    static constexpr size_t kDailyCopiesKept = 7;

    struct Setup {
        std::string settingsPath;
        std::string dataFolder;    // this machine's own files ("": none are kept)
        std::string computerName;  // as sync tools name this machine's conflict copies
        UiLanguage language = UiLanguage::Chinese;
        SettleTimes settle;
        int lockWaitMs = 2000;  // a lock held longer than this is taken for stale
    };

    NotesFile(Setup setup, Clock& clock, FailureLog& log);

    struct Start {
        LoadResult loaded;       // what the file held
        NoteState notes;         // the notes to show: the file's, joined by what was not saved before the end
                                 // of the last run, by another writer's changes since and by conflict copies
        bool needsSave = false;  // they differ from the file
    };
    Start Load(size_t capacity);

    // How the rows of merged notes follow this program's notes (ours) before the merge.
    struct RowMap {
        std::vector<int> oursRow;    // per row: the row of ours it continues, or -1 for a note new here
        std::vector<bool> setAside;  // per row: a text both sides changed, set aside by this merge
    };
    // What became of ours when another writer's version joined them.
    struct Merged {
        NoteState notes;
        RowMap rows;
    };
    struct Look {
        enum class Status { Unchanged, Merged, Unsettled, Unreadable } status = Status::Unchanged;
        std::optional<Merged> merged;
        int retryMs = 0;  // Unsettled: when to look again
    };
    // What another writer saved since the last look, and the conflict copies beside the file, joined with
    // ours. Notes pinned (per row of ours) are in use here and never removed by another writer's delete.
    Look LookForChanges(const NoteState& ours, const std::vector<bool>& pinned);

    struct Saved {
        enum class Status { Saved, Deferred, Failed } status = Status::Saved;
        NoteState notes;                   // ours as saved (or as it would have been), another writer's merged in
        std::optional<RowMap> rows;        // when something was merged in: as in Merged
        std::optional<NoteTable> written;  // the table as the file now holds it (not before quitting)
        int retryMs = 0;                   // Deferred: when to try again
        std::string error;                 // Failed: why
    };
    enum class Then { GoOn, Quit };  // before quitting, nothing is read back and a save may wait a while
    // Writes ours once the file has settled: in one step under the lock, after merging what another writer
    // saved since the last look. Deferred when the file is being written (or the lock is held) and the
    // program goes on; before quitting it waits up to kQuitWaitMs for that.
    // capacity: how many notes the table read back may hold.
    Saved Save(NoteState ours, const std::vector<bool>& pinned, Then then, size_t capacity);
    static constexpr int kQuitWaitMs = 8000;

    // Whether the notes differ from what the file held when last looked at.
    bool DiffersFromFile(const NoteState& notes);

    // The deleted notes, newest first, but those that are notes again (same identity) in current.
    std::vector<DeletedNote> DeletedNotes(const std::vector<std::string>& currentIdentities) const;
    void KeepDeleted(std::vector<NoteRecord> records, DeletedBy by);
    // Takes the deleted note of that index (as DeletedNotes lists them) out of the list.
    std::optional<NoteRecord> TakeDeleted(size_t index, const std::vector<std::string>& currentIdentities);

private:
    // What one look at the file found.
    struct Taken {
        bool known = false;  // it holds the version last seen
        int wait = 0;        // > 0: it is being written, or not whole yet: look again after so many ms
        LoadOutcome outcome = LoadOutcome::Loaded;
        std::optional<NoteState> theirs;  // another writer's version, to merge
    };
    Taken TakeFile(const FileRead& read);
    Merged MergeFile(const NoteState& ours, NoteState theirs, const std::vector<bool>& pinned, std::string_view bytes,
                     const FileFingerprint& file);
    bool LastWasSetAside();
    void KeepDroppedNotes(const NoteState& ours, const Merged& merged);
    void TakeLock(class FileLock& lock);
    void WriteNotes(NoteState& ours, const FileRead& read, Then then, size_t capacity, Saved& saved);

    // Conflict copies, daily copies, what could not be saved before the end (NotesFileCopies.cpp).
    void MergeConflictCopies(std::optional<Merged>& merged, const NoteState& ours, const std::vector<bool>& pinned);
    std::optional<NoteState> ReadCopy(const ConflictCopy& copy);
    void MoveCopyAway(const std::string& path);
    void KeepTodaysCopy(const std::string& bytes, bool* made);
    void ForgetTodaysCopy();
    void KeepUnsaved(const NoteState& ours);
    std::optional<NoteState> ReadUnsaved();
    void RemoveUnsaved();
    std::string CopiesFolder() const;
    std::string UnsavedPath() const;
    // Where the notes deleted by whom are listed.
    std::string DeletedListOf(DeletedBy by) const;

    Setup setup_;
    Clock& clock_;
    FailureLog& log_;
    SettingsVersions versions_;  // what the file held when the program last read or wrote it
    Settling settling_;
    std::vector<std::string> mergedCopies_;              // conflict copies merged but not moved away
    std::map<std::string, FileStamp> unreadableCopies_;  // looked at again only once they change
    std::optional<FileStamp> ignored_;                   // a file without notes, already reported
    std::string todaysCopy_;                             // the daily copy the save under way made
    bool lockReported_ = false;
};

// Composes two merges' row maps: rows of the second (over the first's rows) to rows of the original.
NotesFile::RowMap ThroughBoth(const NotesFile::RowMap& first, const NotesFile::RowMap& second);
