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

FileStamp StampOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return {};
    return {(uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            int64_t((uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime),
            (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool IsLinkInPlace(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
}

FileRead ReadRegularFile(const std::string& path, bool followLinks) {
    FileRead result;
    const std::wstring wide = Widen(path);
    if (!followLinks && IsLinkInPlace(wide)) {
        result.status = FileRead::Status::Failed;
        result.error = path + ": a link stands in its place";
        return result;
    }
    HANDLE file =
        CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
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
    const FileStamp before = StampOf(file);
    result.bytes.reserve(size_t(size.QuadPart));
    char buffer[65536];
    DWORD got = 0;
    BOOL ok = TRUE;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) result.bytes.append(buffer, got);
    const DWORD error = GetLastError();
    const FileStamp after = StampOf(file);
    CloseHandle(file);
    if (!ok) {
        result.error = Describe(path, error);
        result.bytes.clear();
        return result;
    }
    result.status = FileRead::Status::Read;
    result.stamp = before;
    result.changing = after != before || result.bytes.size() != before.size;
    return result;
}

// Writes a fresh temporary file beside target, flushed to disk, and puts it in target's place in one step.
bool ReplaceByTemporary(const std::wstring& target, const std::string& shownPath, std::string_view bytes,
                        bool failAfterWriting, std::string* error) {
    const std::wstring temp = UniqueTempName(target);
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = Describe(shownPath, GetLastError());
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
        if (error) *error = failAfterWriting ? shownPath + ": write failed" : Describe(shownPath, lastError);
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
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

FileRead ReadSettingsFile(const std::string& path) { return ReadRegularFile(path, true); }

FileRead ReadOwnFile(const std::string& path) { return ReadRegularFile(path, false); }

std::optional<FileStamp> StampOfFile(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (IsLinkInPlace(wide)) return std::nullopt;
    HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    const FileStamp stamp = StampOf(file);
    CloseHandle(file);
    return stamp;
}

bool WriteFileAtomicallyOnDisk(const std::string& path, std::string_view bytes, bool failAfterWriting,
                               std::string* error) {
    const std::wstring target = FinalPath(Widen(path));
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        if (error) *error = path + ": the file is read-only";
        return false;
    }
    return ReplaceByTemporary(target, path, bytes, failAfterWriting, error);
}

bool WriteOwnFile(const std::string& path, std::string_view bytes, const std::string&, std::string* error) {
    const std::wstring wide = Widen(path);
    if (IsLinkInPlace(wide)) {
        if (error) *error = path + ": a link or another kind of file stands in its place; left alone";
        return false;
    }
    return ReplaceByTemporary(wide, path, bytes, false, error);
}

bool MakeOwnFolder(const std::string& folder, std::string* error) {
    const std::wstring wide = Widen(folder);
    // Each part in turn; a part that exists already, or a share's root, cannot be made and need not be.
    for (size_t at = wide.find_first_of(L"\\/", 3); at != std::wstring::npos; at = wide.find_first_of(L"\\/", at + 1))
        CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(wide.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (error) *error = folder + ": not a folder of its own";
        return false;
    }
    return true;  // the per-user folders it lives in are the user's alone
}

void NarrowModeTo(const std::string&, const std::string&) {}

bool KeepCopyOf(const std::string& path, std::string_view bytes, const std::string& copyPath, std::string* error) {
    const std::wstring copy = Widen(copyPath);
    if (IsLinkInPlace(copy)) {
        if (error) *error = copyPath + ": a link or another kind of file stands in its place; left alone";
        return false;
    }
    const std::wstring link = UniqueTempName(copy);
    if (CreateHardLinkW(link.c_str(), FinalPath(Widen(path)).c_str(), nullptr)) {
        if (MoveFileExW(link.c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        DeleteFileW(link.c_str());
    }
    return WriteOwnFile(copyPath, bytes, path, error);  // another volume: a copy of its own
}

Writers WritersOf(const std::string& path) {
    // Opening it while denying writers fails while a writer holds it.
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return Writers::None;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return Writers::Writing;
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Writers::None : Writers::Unknown;
}
