#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whole-file access for the settings file and the program's own files. Paths are UTF-8.

// What tells whether a file changed between two looks without comparing its content: its size, when it
// was last written and which file it is (a file put in place under the same name is another file).
struct FileStamp {
    uint64_t size = 0;
    int64_t written = 0;  // the platform's time of the last write, in its own units
    uint64_t id = 0;      // the file's number on its volume
    bool operator==(const FileStamp& other) const {
        return size == other.size && written == other.written && id == other.id;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

struct FileRead {
    enum class Status {
        Read,     // bytes holds the whole file
        Missing,  // there is no such file
        Failed,   // the file exists but could not be read; error says why
    };
    Status status = Status::Missing;
    std::string bytes;
    std::string error;
    FileStamp stamp;        // of the file as read
    bool changing = false;  // it was written to while it was being read: the bytes may be of no version
};

// What tells two versions of a file apart, without keeping a copy of a file that may be huge.
struct FileFingerprint {
    size_t size = 0;
    size_t hash = 0;
    static FileFingerprint Of(std::string_view bytes) { return {bytes.size(), std::hash<std::string_view>{}(bytes)}; }
    bool operator==(const FileFingerprint& other) const { return size == other.size && hash == other.hash; }
};

// Reads a whole regular file. Never blocks: a FIFO, device or folder in its place is a failure.
FileRead ReadSettingsFile(const std::string& path);
// Same for one of the program's own files: a link in its place is a failure, never followed.
FileRead ReadOwnFile(const std::string& path);
// The stamp of a regular file (a link is not followed), without reading it; nothing when there is none.
std::optional<FileStamp> StampOfFile(const std::string& path);
// The whole file, or nothing when it is missing or unreadable.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Lets a test make a write fail after some bytes, as a full disk would.
struct WriteFault {
    size_t failAfterBytes = 0;
};

// Writes a fresh, uniquely named temporary file beside the file that path names (following symbolic
// links to their target), flushes it to disk, gives it the old file's permissions and puts it in place of
// that file in one step. A read-only file is the user's word that it must not change: it is not written.
// On failure the old file is left as it was, the temporary file is removed and error (when given) says
// why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, const WriteFault* fault = nullptr,
                         std::string* error = nullptr);

// The program's own files beside the notes and on this machine (deleted notes, copies of the file): written
// in one step like the settings, but only ever as a regular file of their own. A link in their place (which
// anyone who can write a shared folder may plant) is reported and left alone. No more readable than the
// file at modeLike (the notes file) where the platform has permission bits.
bool WriteOwnFile(const std::string& path, std::string_view bytes, const std::string& modeLike, std::string* error);
// Makes a folder of the program's own, and its missing parents; where the platform has permission bits,
// only the user may enter it. True when it exists afterwards.
bool MakeOwnFolder(const std::string& folder, std::string* error);
// A file moved into one of the program's folders becomes no more readable than the file at modeLike.
void NarrowModeTo(const std::string& path, const std::string& modeLike);
// Makes copyPath hold what the file at path holds now, as a regular file of its own: a second name for
// the same file where the platform allows it (nothing is copied; the settings file is always replaced,
// never written in place, so the copy keeps what it holds now), else a copy of bytes (what it holds).
bool KeepCopyOf(const std::string& path, std::string_view bytes, const std::string& copyPath, std::string* error);

// Whether another program holds a file open for writing now: a writer that rewrites a file in place
// (an editor, a network share's client) is in the middle of it.
enum class Writers {
    None,     // nobody writes it
    Writing,  // somebody has it open for writing
    Unknown,  // the platform or the file system cannot tell
};
Writers WritersOf(const std::string& path);

// Removes the temporary files that interrupted saves of the file at path left beside it, recognised by
// this program's own naming alone; never another file. Returns the paths removed.
std::vector<std::string> RemoveStaleTemporaries(const std::string& path);

// The regular files of a folder (not links, FIFOs or folders), as paths, sorted by name.
std::vector<std::string> RegularFilesIn(const std::string& folder);

// The folder part of a path ("" when there is none), and the name after it.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// A save of "<name>" writes "<name>.tmp-<suffix>"; each program has a suffix of its own form.
inline constexpr std::string_view kTemporaryInfix = ".tmp-";

// Per platform: the file a chain of links at path ends at (path itself otherwise); whether suffix is of
// the form this program gives its temporary files.
std::string ResolvedTarget(const std::string& path);
bool IsOwnTemporarySuffix(std::string_view suffix);

// Per platform: writes bytes as above; failAfterWriting makes the write fail once the bytes are out.
bool WriteFileAtomicallyOnDisk(const std::string& path, std::string_view bytes, bool failAfterWriting,
                               std::string* error);
