#include <windows.h>

#include <algorithm>
#include <atomic>

#include "store/FileIO.h"
#include "store/Wide_win32.h"

namespace {

std::string Describe(const std::string& what, DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    return what + ": error " + std::to_string(error) + (message.empty() ? "" : " (" + Narrow(message) + ")");
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// The file a link points to, so that a save goes through to it; the path itself otherwise.
std::wstring FinalPath(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring final(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, final.data(), DWORD(final.size()), VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= final.size()) return path;
    final.resize(length);
    return final;
}

// "<file>.tmp-<process>-<ticks>-<counter>": unique among this program's saves, and its own.
std::wstring UniqueTempName(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    return target + Widen(std::string(kTemporaryInfix)) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) +
           L"-" + std::to_wstring(counter++);
}

bool IsDigits(std::string_view text) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::string ResolvedTarget(const std::string& path) { return Narrow(FinalPath(Widen(path))); }

bool IsOwnTemporarySuffix(std::string_view suffix) {
    for (int part = 0; part < 3; ++part) {
        const size_t dash = part < 2 ? suffix.find('-') : suffix.size();
        if (dash == std::string_view::npos || !IsDigits(suffix.substr(0, dash))) return false;
        suffix.remove_prefix(std::min(dash + 1, suffix.size()));
    }
    return true;
}

FileRead ReadSettingsFile(const std::string& path) {
    FileRead result;
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        result.status = missing ? FileRead::Status::Missing : FileRead::Status::Failed;
        if (!missing) result.error = Describe(path, error);
        return result;
    }
    result.status = FileRead::Status::Failed;
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        result.error = path + ": not a regular file";
        CloseHandle(file);
        return result;
    }
    result.bytes.reserve(size_t(size.QuadPart));
    char buffer[65536];
    DWORD got = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) result.bytes.append(buffer, got);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok) {
        result.error = Describe(path, error);
        result.bytes.clear();
        return result;
    }
    result.status = FileRead::Status::Read;
    return result;
}

bool WriteFileAtomicallyOnDisk(const std::string& path, std::string_view bytes, bool failAfterWriting,
                               std::string* error) {
    const std::wstring target = FinalPath(Widen(path));
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        if (error) *error = path + ": the file is read-only";
        return false;
    }
    const std::wstring temp = UniqueTempName(target);
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = Describe(path, GetLastError());
        return false;
    }
    const bool written = WriteAll(file, bytes) && !failAfterWriting && FlushFileBuffers(file);
    DWORD lastError = GetLastError();
    CloseHandle(file);
    bool replaced = false;
    if (written) {
        // ReplaceFileW keeps the old file's security; a new file is simply moved in place.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
        replaced = exists && ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                          nullptr, nullptr);
        if (!replaced)
            replaced = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!replaced) lastError = GetLastError();
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (replaced && exists && (attributes & kKept)) SetFileAttributesW(target.c_str(), attributes & kKept);
    }
    if (!replaced) {
        if (error) *error = failAfterWriting ? path + ": write failed" : Describe(path, lastError);
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}
