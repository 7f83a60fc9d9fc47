#include "store/SharedFiles.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>

#include "store/FileIO.h"
#include "store/IniFile.h"
#include "store/ShortHash.h"

namespace fs = std::filesystem;

namespace {

struct NameParts {
    std::string_view stem;
    std::string_view extension;  // with its dot, or ""
};

NameParts Split(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (EqualsIgnoringCase(text.substr(i, part.size()), part)) return true;
    return false;
}

}  // namespace

std::string NewNoteIdentity() {
    static std::mt19937_64 generator{(uint64_t(std::random_device{}()) << 32) ^ uint64_t(std::random_device{}()) ^
                                     uint64_t(std::time(nullptr))};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

namespace {

bool IsComputerNameCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'; }

// The names Windows gives a computer it sets up: "DESKTOP-" or "LAPTOP-" and seven letters and digits,
// "WIN-" and eleven.
bool IsGeneratedComputerName(std::string_view name) {
    for (const auto& [prefix, length] :
         {std::pair<std::string_view, size_t>{"DESKTOP-", 7}, {"LAPTOP-", 7}, {"WIN-", 11}}) {
        if (!StartsWith(name, prefix) || name.size() != prefix.size() + length) continue;
        const std::string_view rest = name.substr(prefix.size());
        return std::all_of(rest.begin(), rest.end(), [](char c) { return c != '-' && IsComputerNameCharacter(c); });
    }
    return false;
}

}  // namespace

CopyName ConflictCopyName(std::string_view name, std::string_view settingsName, std::string_view computerName) {
    const NameParts settings = Split(settingsName);
    if (name == settingsName || !StartsWith(name, settings.stem) || name.size() <= settingsName.size())
        return CopyName::NotACopy;
    if (!EndsWith(name, settings.extension)) return CopyName::NotACopy;
    const std::string_view middle =
        name.substr(settings.stem.size(), name.size() - settings.stem.size() - settings.extension.size());
    if (StartsWith(middle, ".sync-conflict-")) return CopyName::Copy;
    if (StartsWith(middle, " (") && EndsWith(middle, ")"))
        return ContainsIgnoringCase(middle, "conflicted copy") ? CopyName::Copy : CopyName::NotACopy;
    // OneDrive's "-<COMPUTERNAME>": at most 15 capital letters, digits and hyphens. A user's own
    // "TextSetting-old.ini", "-BACKUP", "-2024" or a daily copy's "-2025-01-05" is no copy of a sync tool's.
    if (middle.size() < 2 || middle.size() > 16 || middle[0] != '-') return CopyName::NotACopy;
    const std::string_view computer = middle.substr(1);
    if (!computerName.empty() && EqualsIgnoringCase(computer, computerName)) return CopyName::Copy;
    if (!std::all_of(computer.begin(), computer.end(), IsComputerNameCharacter)) return CopyName::NotACopy;
    if (IsGeneratedComputerName(computer)) return CopyName::Copy;
    const bool letters = std::any_of(computer.begin(), computer.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    const bool digits = std::any_of(computer.begin(), computer.end(), [](char c) { return c >= '0' && c <= '9'; });
    return letters && digits ? CopyName::MaybeComputer : CopyName::NotACopy;
}

std::vector<ConflictCopy> FindConflictCopies(const std::string& settingsPath, std::string_view computerName) {
    const std::string name = NameOf(settingsPath);
    std::vector<ConflictCopy> copies;
    for (const std::string& file : RegularFilesIn(FolderOf(settingsPath))) {
        const CopyName kind = ConflictCopyName(NameOf(file), name, computerName);
        if (kind != CopyName::NotACopy) copies.push_back({file, kind == CopyName::MaybeComputer});
    }
    return copies;
}

namespace {
bool Taken(const fs::path& path) {
    std::error_code failure;
    return fs::symlink_status(path, failure).type() != fs::file_type::not_found;
}
}  // namespace

bool MoveIntoFolder(const std::string& path, const std::string& folder, const std::string& modeLike,
                    std::string* error) {
    if (!MakeOwnFolder(folder, error)) return false;
    std::error_code failure;
    const fs::path into = fs::u8path(folder);
    const std::string name = NameOf(path);
    const NameParts parts = Split(name);
    fs::path target = into / fs::u8path(name);
    for (int n = 2; Taken(target); ++n)
        target = into / fs::u8path(std::string(parts.stem) + " (" + std::to_string(n) + ")" + std::string(parts.extension));
    fs::rename(fs::u8path(path), target, failure);
    if (failure) {  // another drive: copy, then remove the original only once the copy is whole
        failure.clear();
        if (fs::copy_file(fs::u8path(path), target, failure)) fs::remove(fs::u8path(path), failure);
    }
    if (failure && error) *error = path + ": " + failure.message();
    if (!failure) NarrowModeTo(target.u8string(), modeLike);
    return !failure;
}

std::string DeletedNotesPath(const std::string& settingsPath) {
    const std::string name = NameOf(settingsPath);
    const NameParts parts = Split(name);
    const std::string folder = FolderOf(settingsPath);
    return (folder.empty() ? "" : folder + "/") + std::string(parts.stem) + ".deleted" + std::string(parts.extension);
}

std::string LockPathFor(const std::string& settingsPath) {
    const std::string target = ResolvedTarget(settingsPath);
    const std::string folder = FolderOf(target);
    // A Windows path as the system resolves it ("\\?\C:\…") takes no other separator.
    const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
    return (folder.empty() ? "" : folder + separator) + "." + NameOf(target) + ".lock";
}

std::string DailyCopyPath(const std::string& folder, const std::string& settingsName, const std::string& date) {
    const NameParts parts = Split(settingsName);
    return folder + "/" + std::string(parts.stem) + "-" + date + std::string(parts.extension);
}

namespace {

// The daily copies of a settings file in folder, oldest first.
std::vector<std::string> DailyCopies(const std::string& folder, const std::string& settingsName, size_t dateLength) {
    const NameParts parts = Split(settingsName);
    const std::string prefix = std::string(parts.stem) + "-";
    std::vector<std::string> copies;
    for (const std::string& file : RegularFilesIn(folder)) {
        const std::string name = NameOf(file);
        if (StartsWith(name, prefix) && EndsWith(name, parts.extension) &&
            name.size() == prefix.size() + dateLength + parts.extension.size())
            copies.push_back(file);
    }
    return copies;
}

bool SameContent(const std::string& path, std::string_view bytes) {
    std::error_code failure;
    if (fs::file_size(fs::u8path(path), failure) != bytes.size() || failure) return false;
    const FileRead read = ReadOwnFile(path);
    return read.status == FileRead::Status::Read && read.bytes == bytes;
}

}  // namespace

bool KeepDailyCopy(const std::string& settingsPath, std::string_view bytes, const std::string& folder,
                   const std::string& date, size_t keep, std::string* error, bool* made) {
    if (made) *made = false;
    if (!MakeOwnFolder(folder, error)) return false;
    const std::string name = NameOf(settingsPath);
    const std::string path = DailyCopyPath(folder, name, date);
    std::error_code failure;
    const fs::file_type there = fs::symlink_status(fs::u8path(path), failure).type();
    if (there == fs::file_type::regular) return true;
    if (there != fs::file_type::not_found) {
        if (error) *error = path + ": a link or another kind of file stands in its place; left alone";
        return false;
    }
    std::vector<std::string> copies = DailyCopies(folder, name, date.size());
    if (!copies.empty() && SameContent(copies.back(), bytes)) return true;  // nothing changed since
    if (!KeepCopyOf(settingsPath, bytes, path, error)) return false;
    if (made) *made = true;
    copies = DailyCopies(folder, name, date.size());
    for (size_t i = 0; i + keep < copies.size(); ++i) fs::remove(fs::u8path(copies[i]), failure);  // oldest first
    return true;
}

void TrimCopies(const std::vector<std::string>& folders, uint64_t maxBytes) {
    struct Copy {
        fs::file_time_type written;
        uint64_t size;
        std::string path;
    };
    std::vector<Copy> copies;
    uint64_t total = 0;
    for (const std::string& folder : folders)
        for (const std::string& file : RegularFilesIn(folder)) {
            std::error_code failure;
            const fs::path path = fs::u8path(file);
            const Copy copy{fs::last_write_time(path, failure), uint64_t(fs::file_size(path, failure)), file};
            if (failure) continue;
            total += copy.size;
            copies.push_back(copy);
        }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) { return a.written < b.written; });
    for (size_t i = 0; i + 1 < copies.size() && total > maxBytes; ++i) {
        std::error_code failure;
        if (fs::remove(fs::u8path(copies[i].path), failure)) total -= copies[i].size;
    }
}

uint64_t CopiesBound(uint64_t fileSize) { return std::max<uint64_t>(5 * fileSize, 50ull << 20); }

std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return text;
}

std::string CopiesFolderFor(const std::string& dataFolder, const std::string& settingsPath) {
    std::error_code ignored;
    const std::string folder = fs::absolute(fs::u8path(ResolvedTarget(settingsPath)), ignored).parent_path().u8string();
    char name[16];
    std::snprintf(name, sizeof name, "notes-%08x", ShortHash(folder));
    return dataFolder + "/" + name;
}
