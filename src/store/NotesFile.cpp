#include "store/NotesFile.h"

#include <algorithm>
#include <utility>

#include "store/FileLock.h"
#include "store/SettingsEncoding.h"
#include "store/SharedFiles.h"

// The settings file from start-up to the save: another writer's version is taken once it is whole, and
// merged from the version both started from.

namespace {

constexpr int kStartWaitMs = 3000;  // a file being written at start-up is waited for this long at most
constexpr int kLockPollMs = 50;

// The file once nobody is writing it, or as it is when that takes too long.
FileRead ReadWhenWritten(const std::string& path, Clock& clock, int pollMs) {
    const int64_t deadline = clock.NowMs() + kStartWaitMs;
    for (;;) {
        FileRead read = ReadSettingsFile(path);
        const bool inFlux =
            read.status == FileRead::Status::Read && (read.changing || WritersOf(path) == Writers::Writing);
        if (!inFlux || clock.NowMs() >= deadline) return read;
        clock.SleepMs(std::max(1, pollMs));
    }
}

}  // namespace

NotesFile::RowMap ThroughBoth(const NotesFile::RowMap& first, const NotesFile::RowMap& second) {
    NotesFile::RowMap rows{std::vector<int>(second.oursRow.size(), -1), second.setAside};
    for (size_t i = 0; i < second.oursRow.size(); ++i) {
        const int row = second.oursRow[i];
        if (row < 0 || size_t(row) >= first.oursRow.size()) continue;
        rows.oursRow[i] = first.oursRow[size_t(row)];
        if (i < rows.setAside.size() && size_t(row) < first.setAside.size() && first.setAside[size_t(row)])
            rows.setAside[i] = true;
    }
    return rows;
}

NotesFile::NotesFile(Setup setup, Clock& clock, FailureLog& log)
    : setup_(std::move(setup)),
      clock_(clock),
      log_(log),
      versions_(setup_.dataFolder.empty() ? std::string() : CopiesFolder() + "/versions", setup_.settingsPath, log),
      settling_(setup_.settle) {}

// ---- Start-up

NotesFile::Start NotesFile::Load(size_t capacity) {
    // Only one copy runs on this file: a temporary file of a save is left over from a crash.
    for (const std::string& removed : RemoveStaleTemporaries(setup_.settingsPath))
        log_.Failure("removed what an interrupted save left: " + removed);
    Start start;
    start.notes.language = setup_.language;
    FileRead read = ReadWhenWritten(setup_.settingsPath, clock_, setup_.settle.pollMs);
    if (read.status != FileRead::Status::Read) {  // missing (the first run) or unreadable
        start.loaded = LoadSettings(start.notes, setup_.settingsPath, capacity);
        if (start.loaded.outcome == LoadOutcome::FirstRunWritten)
            versions_.Record(ReadWholeFile(setup_.settingsPath).value_or(std::string()), start.notes);
        return start;
    }
    const FileFingerprint file = FileFingerprint::Of(read.bytes);
    const std::string kept = read.bytes.size() <= SettingsVersions::kBudgetBytes ? read.bytes : std::string();
    const LoadOutcome outcome = LoadSettingsFromText(start.notes, DecodeSettingsBytes(std::move(read.bytes)), capacity);
    if (outcome == LoadOutcome::Unreadable) {
        start.loaded = {outcome, setup_.settingsPath + ": not a settings file", {}};
        return start;
    }
    start.loaded = {outcome, {}, file};
    versions_.LoadKept();
    // What this machine held when it last looked (and what it could not save then) meets the file as it is
    // now, as another writer's version arriving while the program ran would.
    std::optional<NoteState> ours = ReadUnsaved();
    const bool unsaved = ours.has_value();
    if (!ours && versions_.Any() && !versions_.IsLast(file)) ours = versions_.Last();
    std::optional<Merged> merged;
    if (ours && outcome == LoadOutcome::Loaded)
        merged = MergeFile(*ours, start.notes, {}, kept, file);
    else if (ours)
        merged = Merged{std::move(*ours), {}};  // a file without notes is no version: nothing of it joins
    else
        versions_.Record(file, kept, start.notes);
    MergeConflictCopies(merged, merged ? merged->notes : start.notes, {});
    if (merged && !SameNotes(merged->notes, start.notes)) {
        start.notes = std::move(merged->notes);
        // Written back at once, but for a file without notes: it may be on its way, and is no version.
        start.needsSave = outcome == LoadOutcome::Loaded || unsaved;
    }
    return start;
}

// ---- Another writer's version

bool NotesFile::LastWasSetAside() {
    const size_t size = versions_.LastSize();
    for (const ConflictCopy& copy : FindConflictCopies(setup_.settingsPath, setup_.computerName)) {
        const std::optional<FileStamp> stamp = StampOfFile(copy.path);
        if (!stamp || stamp->size != size) continue;
        const FileRead read = ReadOwnFile(copy.path);
        if (read.status == FileRead::Status::Read && versions_.IsLast(read.bytes)) return true;
    }
    return false;
}

// The base is what the file held when the program last read or wrote it; when a sync tool set that
// version aside as a conflict copy, the other side did not start from it, and the nearest older version is
// the base instead.
NotesFile::Merged NotesFile::MergeFile(const NoteState& ours, NoteState theirs, const std::vector<bool>& pinned,
                                       std::string_view bytes, const FileFingerprint& file) {
    const NoteState base = LastWasSetAside() ? versions_.NearestTo(theirs, ours, true) : versions_.Last();
    MergeResult result = MergeNotes(base, ours, theirs, pinned);
    for (const std::string& line : result.log) log_.Failure(line);
    Merged merged{std::move(result.state), {std::move(result.oursRow), std::move(result.setAside)}};
    KeepDroppedNotes(ours, merged);
    versions_.Record(file, bytes, std::move(theirs));
    return merged;
}

// Nothing that another writer's version removed is gone without a way back.
void NotesFile::KeepDroppedNotes(const NoteState& ours, const Merged& merged) {
    std::vector<bool> stays(ours.table.rows.size(), false);
    for (int row : merged.rows.oursRow)
        if (row >= 0 && size_t(row) < stays.size()) stays[size_t(row)] = true;
    std::vector<NoteRecord> dropped;
    for (size_t i = 0; i < stays.size(); ++i)
        if (!stays[i]) dropped.push_back(ours.table.rows[i]);
    if (!dropped.empty()) KeepDeleted(std::move(dropped), DeletedBy::OtherWriter);
}

// The file once it is whole: another writer's version, or nothing to merge (the version last seen, a file
// without notes, which is no version).
NotesFile::Taken NotesFile::TakeFile(const FileRead& read) {
    Taken taken;
    if (versions_.IsLast(read.bytes)) {
        settling_.Forget();
        taken.known = true;
        taken.wait = WritersOf(setup_.settingsPath) == Writers::Writing ? std::max(1, setup_.settle.pollMs) : 0;
        return taken;
    }
    std::string text = DecodeSettingsBytes(read.bytes);
    const FileLook look{read.stamp, WritersOf(setup_.settingsPath), read.changing, LooksWhole(text)};
    taken.wait = settling_.WaitBeforeTaking(look, clock_.NowMs());
    if (taken.wait > 0) return taken;
    NoteState theirs;
    theirs.language = setup_.language;
    taken.outcome = LoadSettingsFromText(theirs, std::move(text));
    if (taken.outcome == LoadOutcome::Loaded) {
        taken.theirs = std::move(theirs);
    } else if (ignored_ != read.stamp) {
        ignored_ = read.stamp;
        log_.Failure(setup_.settingsPath + (taken.outcome == LoadOutcome::Unreadable
                                                ? ": another writer left no settings in it"
                                                : ": holds no note; not taken for another writer's notes"));
    }
    return taken;
}

NotesFile::Look NotesFile::LookForChanges(const NoteState& ours, const std::vector<bool>& pinned) {
    Look look;
    const FileRead read = ReadSettingsFile(setup_.settingsPath);
    if (read.status == FileRead::Status::Failed) {
        log_.Failure("settings not read for a merge: " + read.error);
        look.status = Look::Status::Unreadable;
        return look;
    }
    std::optional<Merged> merged;
    if (read.status == FileRead::Status::Read) {  // a missing file is written anew at the next save
        Taken taken = TakeFile(read);
        if (taken.wait > 0 && !taken.known) {
            look.status = Look::Status::Unsettled;
            look.retryMs = taken.wait;
            return look;
        }
        if (taken.outcome == LoadOutcome::Unreadable) {
            look.status = Look::Status::Unreadable;
            return look;
        }
        if (taken.theirs)
            merged = MergeFile(ours, std::move(*taken.theirs), pinned, read.bytes, FileFingerprint::Of(read.bytes));
    }
    MergeConflictCopies(merged, ours, pinned);
    if (merged) {
        look.status = Look::Status::Merged;
        look.merged = std::move(merged);
    }
    return look;
}

bool NotesFile::DiffersFromFile(const NoteState& notes) {
    return versions_.Any() && !SameNotes(notes, versions_.Last());
}

// ---- The save

void NotesFile::TakeLock(FileLock& lock) {
    const int64_t deadline = clock_.NowMs() + setup_.lockWaitMs;
    for (;;) {
        std::string problem;
        switch (lock.TryTake(LockPathFor(setup_.settingsPath), &problem)) {
            case FileLock::Result::Taken: return;
            case FileLock::Result::Unavailable:
                if (!std::exchange(lockReported_, true))
                    log_.Failure("saves are not locked against other programs on this file: " + problem);
                return;
            case FileLock::Result::Busy:
                if (clock_.NowMs() >= deadline) {
                    log_.Failure("the notes file's lock stayed taken: saved without it");
                    return;
                }
                clock_.SleepMs(kLockPollMs);
                break;
        }
    }
}

NotesFile::Saved NotesFile::Save(NoteState ours, const std::vector<bool>& pinned, Then then, size_t capacity) {
    Saved saved;
    const int64_t deadline = clock_.NowMs() + (then == Then::Quit ? kQuitWaitMs : 0);
    for (;;) {
        FileLock lock;
        TakeLock(lock);
        const FileRead read = ReadSettingsFile(setup_.settingsPath);
        if (read.status == FileRead::Status::Failed) {
            saved.status = Saved::Status::Failed;
            saved.error = read.error;
            break;
        }
        Taken taken;
        if (read.status == FileRead::Status::Read) taken = TakeFile(read);
        if (taken.outcome == LoadOutcome::Unreadable && taken.wait == 0) {
            saved.status = Saved::Status::Failed;
            saved.error = "the file could not be read";
            break;
        }
        if (taken.wait > 0) {  // somebody is writing it: look again once they are done
            lock.Release();
            if (clock_.NowMs() + taken.wait > deadline) {
                saved.status = Saved::Status::Deferred;
                saved.retryMs = taken.wait;
                break;
            }
            clock_.SleepMs(taken.wait);
            continue;
        }
        if (taken.theirs) {
            Merged merged =
                MergeFile(ours, std::move(*taken.theirs), pinned, read.bytes, FileFingerprint::Of(read.bytes));
            saved.rows = saved.rows ? ThroughBoth(*saved.rows, merged.rows) : merged.rows;
            ours = std::move(merged.notes);
        }
        WriteNotes(ours, read, then, capacity, saved);
        break;
    }
    saved.notes = std::move(ours);
    if (then == Then::Quit && saved.status == Saved::Status::Deferred) KeepUnsaved(saved.notes);
    return saved;
}

// Writes the notes in one step, every note with an identity of its own; nothing when the file holds them
// already, so that a sync tool has nothing to carry and no copy to conflict with.
void NotesFile::WriteNotes(NoteState& ours, const FileRead& read, Then then, size_t capacity, Saved& saved) {
    for (NoteRecord& row : ours.table.rows)
        if (!HasOwnIdentity(row)) row.identity = NewNoteIdentity();
    const std::string bytes = EncodeSettingsText(SerializeSettings(ours));
    const bool fileAsLastSeen = read.status == FileRead::Status::Read && versions_.IsLast(read.bytes);
    if (fileAsLastSeen && versions_.IsLast(bytes)) {
        RemoveUnsaved();
        return;
    }
    bool copied = false;
    if (read.status == FileRead::Status::Read) KeepTodaysCopy(read.bytes, &copied);
    if (!WriteFileAtomically(setup_.settingsPath, bytes, nullptr, &saved.error)) {
        if (copied) ForgetTodaysCopy();
        saved.status = Saved::Status::Failed;
        return;
    }
    RemoveUnsaved();
    if (then == Then::Quit) {  // nobody reads the notes back in this run; the next one starts from them
        versions_.RecordOnDisk(bytes);
        return;
    }
    NoteState written;
    written.language = setup_.language;
    LoadSettingsFromText(written, DecodeSettingsBytes(bytes), capacity);
    saved.written = written.table;
    versions_.Record(bytes, std::move(written));
}
