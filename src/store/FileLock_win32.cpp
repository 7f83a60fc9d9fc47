#include "store/FileLock.h"

#include <windows.h>

#include "store/FileIO.h"
#include "store/Wide_win32.h"

FileLock::Result FileLock::TryTake(const std::string& path, std::string* problem) {
    Release();
    const std::wstring wide = Widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        if (problem) *problem = path + ": a link or a folder stands in its place";
        return Result::Unavailable;
    }
    HANDLE file =
        CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (problem) *problem = path + ": error " + std::to_string(GetLastError());
        return Result::Unavailable;
    }
    OVERLAPPED at = {};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        handle_ = reinterpret_cast<intptr_t>(file);
        return Result::Taken;
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return Result::Busy;
    if (problem) *problem = path + ": error " + std::to_string(error);
    return Result::Unavailable;
}

void FileLock::Release() {
    if (handle_ == kNone) return;
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED at = {};
    UnlockFileEx(file, 0, 1, 0, &at);
    CloseHandle(file);
    handle_ = kNone;
}
