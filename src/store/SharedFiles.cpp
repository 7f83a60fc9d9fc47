#include "store/SharedFiles.h"

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

bool IsConflictCopyName(std::string_view name, std::string_view settingsName) {
    const NameParts settings = Split(settingsName);
    if (name == settingsName || !StartsWith(name, settings.stem) || name.size() <= settingsName.size()) return false;
    if (!EndsWith(name, settings.extension)) return false;
    const std::string_view middle =
        name.substr(settings.stem.size(), name.size() - settings.stem.size() - settings.extension.size());
    if (StartsWith(middle, ".sync-conflict-")) return true;
    if (StartsWith(middle, " (") && EndsWith(middle, ")")) return ContainsIgnoringCase(middle, "conflicted copy");
    // A Windows computer name: at most 15 capital letters, digits and hyphens. A user's own
    // "TextSetting-old.ini" is no copy of a sync tool's.
    if (middle.size() < 2 || middle.size() > 16 || middle[0] != '-') return false;
    for (char c : middle.substr(1))
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

std::vector<std::string> FindConflictCopies(const std::string& settingsPath) {
    const std::string name = NameOf(settingsPath);
    std::vector<std::string> copies;
    for (const std::string& file : RegularFilesIn(FolderOf(settingsPath)))
        if (IsConflictCopyName(NameOf(file), name)) copies.push_back(file);
    return copies;
}

bool MoveIntoFolder(const std::string& path, const std::string& folder, std::string* error) {
    std::error_code failure;
    const fs::path into = fs::u8path(folder);
    fs::create_directories(into, failure);
    const std::string name = NameOf(path);
    const NameParts parts = Split(name);
    fs::path target = into / fs::u8path(name);
    for (int n = 2; fs::exists(target, failure); ++n)
        target = into / fs::u8path(std::string(parts.stem) + " (" + std::to_string(n) + ")" + std::string(parts.extension));
    fs::rename(fs::u8path(path), target, failure);
    if (failure) {  // another drive: copy, then remove the original only once the copy is whole
        failure.clear();
        if (fs::copy_file(fs::u8path(path), target, failure)) fs::remove(fs::u8path(path), failure);
    }
    if (failure && error) *error = path + ": " + failure.message();
    return !failure;
}

std::string DeletedNotesPath(const std::string& settingsPath) {
    const std::string name = NameOf(settingsPath);
    const NameParts parts = Split(name);
    const std::string folder = FolderOf(settingsPath);
    return (folder.empty() ? "" : folder + "/") + std::string(parts.stem) + ".deleted" + std::string(parts.extension);
}

namespace {
std::string DailyCopyPath(const std::string& folder, const std::string& settingsName, const std::string& date) {
    const NameParts parts = Split(settingsName);
    return folder + "/" + std::string(parts.stem) + "-" + date + std::string(parts.extension);
}
}  // namespace

bool HasDailyCopy(const std::string& folder, const std::string& settingsName, const std::string& date) {
    std::error_code failure;
    return fs::exists(fs::u8path(DailyCopyPath(folder, settingsName, date)), failure);
}

bool KeepDailyCopy(const std::string& folder, const std::string& settingsName, const std::string& date,
                   std::string_view bytes, size_t keep, std::string* error) {
    const NameParts parts = Split(settingsName);
    const std::string prefix = std::string(parts.stem) + "-";
    const std::string path = DailyCopyPath(folder, settingsName, date);
    std::error_code failure;
    fs::create_directories(fs::u8path(folder), failure);
    if (fs::exists(fs::u8path(path), failure)) return true;
    if (!WriteFileAtomically(path, bytes, nullptr, error)) return false;
    std::vector<std::string> copies;
    for (const std::string& file : RegularFilesIn(folder)) {
        const std::string name = NameOf(file);
        if (StartsWith(name, prefix) && EndsWith(name, parts.extension) &&
            name.size() == prefix.size() + date.size() + parts.extension.size())
            copies.push_back(file);
    }
    for (size_t i = 0; i + keep < copies.size(); ++i) fs::remove(fs::u8path(copies[i]), failure);  // oldest first
    return true;
}

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
