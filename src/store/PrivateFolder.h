#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What a folder's metadata says, as lstat reports it.
struct FolderFacts {
    bool isDirectory = false;  // a symbolic link is not, whatever it points to
    uint32_t owner = 0;
    uint32_t mode = 0;  // permission bits
};

// Only the user may enter, list or change it: a folder where nobody else can put a lock or a socket
// first, or read what is there.
inline bool IsPrivateFolder(const FolderFacts& facts, uint32_t user) {
    return facts.isDirectory && facts.owner == user && (facts.mode & 077) == 0;
}

// The user's private folder for the lock and the socket: $XDG_RUNTIME_DIR, or else a folder of the
// user's own under $XDG_CACHE_HOME (~/.cache), created private. Never a shared one such as /tmp:
// another user could claim the names there first. Nothing, with the reason, when neither is private.
std::optional<std::string> PrivateRuntimeFolder(std::string* problem);
