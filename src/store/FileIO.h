#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whole-file access for the settings file. Paths are UTF-8.

struct FileRead {
    enum class Status {
        Read,     // bytes holds the whole file
        Missing,  // there is no such file
        Failed,   // the file exists but could not be read; error says why
    };
    Status status = Status::Missing;
    std::string bytes;
    std::string error;
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
