#include <windows.h>

#include <algorithm>

#include "store/FileIO.h"
#include "store/Unicode.h"

namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

bool WriteAll(HANDLE file, const std::string& bytes, const WriteFault* fault) {
    size_t limit = fault ? fault->failAfterBytes : bytes.size();
    if (limit > bytes.size()) limit = bytes.size();
    size_t done = 0;
    while (done < limit) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<size_t>(limit - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return fault == nullptr;
}

}  // namespace

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return content;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, const WriteFault* fault) {
    const std::wstring target = Wide(path);
    const std::wstring temp = target + L".tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = WriteAll(file, bytes, fault) && FlushFileBuffers(file);
    CloseHandle(file);
    if (!written ||
        !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}
