#pragma once

#include <cstdint>
#include <string>

// An advisory lock that programs saving one notes file take around reading, merging and writing it, so that
// two of them (the Linux and the Windows program, two machines on a network share) merge instead of
// overwriting each other. It is a lock on a file of its own, which nobody writes: the notes file itself is
// replaced at every save. The system lets go of it when its holder ends, so a crash leaves nothing stale.
class FileLock {
public:
    enum class Result {
        Taken,
        Busy,         // another program holds it
        Unavailable,  // this file system has no locks, or the lock file cannot be opened
    };

    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on the file at path (made when missing, never through a link) without waiting.
    Result TryTake(const std::string& path, std::string* problem);
    void Release();

private:
    static constexpr intptr_t kNone = -1;
    intptr_t handle_ = kNone;
};

// "<folder of the file>/.<name>.lock": beside the file its links lead to, where every writer finds it.
std::string LockPathFor(const std::string& settingsPath);
