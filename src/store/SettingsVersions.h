#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "store/FailureLog.h"
#include "store/FileIO.h"
#include "store/NotesMerge.h"
#include "store/NoteRecord.h"

// The versions of the settings file this program has read or written, newest first: the newest is what
// the file held when the program last looked, the base of a merge with what another writer saved since.
// Kept on this machine across runs as well (a folder of their own), so that a merge after a restart has
// the same base it would have had without one.
class SettingsVersions {
public:
    static constexpr size_t kKept = 16;
    static constexpr size_t kBudgetBytes = 32u << 20;  // older versions of huge notes are not worth memory

    // folder: where the versions outlive the run ("": in memory only); modeLike: the notes file, whose
    // permissions the kept versions take.
    SettingsVersions(std::string folder, std::string modeLike, FailureLog& log);

    // What an earlier run kept: read when a merge needs it.
    void LoadKept();
    // The file as read or written. Not kept on disk when it is over the budget, or its bytes are not given
    // (""), and older ones are then not kept on disk either: a merge after a restart has no base rather
    // than a wrong one.
    void Record(const FileFingerprint& file, std::string_view bytes, NoteState state);
    void Record(std::string_view bytes, NoteState state) {
        Record(FileFingerprint::Of(bytes), bytes, std::move(state));
    }
    // The same, where the notes are not needed again in this run (before quitting): kept on disk only.
    void RecordOnDisk(std::string_view bytes);

    bool Any() const { return !versions_.empty(); }
    bool IsLast(const FileFingerprint& file) const { return Any() && file == versions_.front().fingerprint; }
    bool IsLast(std::string_view bytes) const { return IsLast(FileFingerprint::Of(bytes)); }
    // The size of the newest, to tell a file that cannot be it without reading it.
    size_t LastSize() const { return Any() ? versions_.front().fingerprint.size : 0; }
    // Whether a file holds exactly one of the versions (a sync tool's copy of this machine's own save).
    bool Knows(std::string_view bytes);
    const NoteState& Last();

    // The version another writer's copy most likely started from: the seen version nearest to it, the
    // older one of two as near (an older base turns a doubt into a kept conflict, never into a lost change),
    // and never one that is what this program holds now (compared with that, a copy would undo every change
    // made since). Empty when there is none: the merge then keeps what both sides hold.
    NoteState NearestTo(const NoteState& copy, const NoteState& current, bool skipLast = false);

private:
    struct Version {
        FileFingerprint fingerprint;     // known once read
        std::optional<NoteState> state;  // parsed when first needed
        std::string path;                // where it is kept on disk, "" when it is not
        size_t size = 0;
        bool read = false;
    };
    std::optional<std::string> BytesOf(Version& version);
    bool Read(Version& version);
    bool Parse(Version& version);
    void Push(const FileFingerprint& file, std::string_view bytes, std::optional<NoteState> state);
    std::string KeepOnDisk(const FileFingerprint& file, std::string_view bytes);
    void Trim();

    std::string folder_;
    std::string modeLike_;
    FailureLog& log_;
    std::deque<Version> versions_;
    uint64_t nextNumber_ = 1;
};
