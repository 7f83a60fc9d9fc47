#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Whole-file access for the settings file. Paths are UTF-8.

bool FileExists(const std::string& path);
std::optional<std::string> ReadWholeFile(const std::string& path);

// Lets a test make a write fail after some bytes, as a full disk would.
struct WriteFault {
    size_t failAfterBytes = 0;
};

// Writes a temporary file beside path, flushes it to disk and puts it in place of path in one step.
// On failure path is left as it was and the temporary file is removed.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, const WriteFault* fault = nullptr);

// The folder part of a path ("" when there is none).
std::string FolderOf(const std::string& path);
