#include "store/SettingsVersions.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "store/Settings.h"
#include "store/SettingsEncoding.h"

namespace {

constexpr size_t kNumberDigits = 10;
constexpr std::string_view kExtension = ".ini";

// The number of a kept version's file, "<number>.ini"; 0 for any other name.
uint64_t NumberOf(const std::string& name) {
    if (name.size() != kNumberDigits + kExtension.size() || name.substr(kNumberDigits) != kExtension) return 0;
    uint64_t number = 0;
    for (char c : name.substr(0, kNumberDigits)) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + uint64_t(c - '0');
    }
    return number;
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove(std::filesystem::u8path(path), ignored);
}

}  // namespace

SettingsVersions::SettingsVersions(std::string folder, std::string modeLike, FailureLog& log)
    : folder_(std::move(folder)), modeLike_(std::move(modeLike)), log_(log) {}

void SettingsVersions::LoadKept() {
    if (folder_.empty()) return;
    std::vector<std::pair<uint64_t, std::string>> kept;
    for (const std::string& file : RegularFilesIn(folder_))
        if (const uint64_t number = NumberOf(NameOf(file))) kept.emplace_back(number, file);
    std::sort(kept.rbegin(), kept.rend());  // newest first
    for (const auto& [number, path] : kept) {
        nextNumber_ = std::max(nextNumber_, number + 1);
        std::error_code failure;
        const size_t size = size_t(std::filesystem::file_size(std::filesystem::u8path(path), failure));
        if (versions_.size() < kKept && !failure)
            versions_.push_back({{}, std::nullopt, path, size, false});
        else
            RemoveFile(path);
    }
    // The newest is what the file held when this machine last looked: it is compared with the file now.
    while (!versions_.empty() && !Read(versions_.front())) versions_.pop_front();
}

std::optional<std::string> SettingsVersions::BytesOf(Version& version) {
    FileRead read = ReadOwnFile(version.path);
    if (read.status != FileRead::Status::Read) return std::nullopt;
    version.fingerprint = FileFingerprint::Of(read.bytes);
    version.size = read.bytes.size();
    version.read = true;
    return std::move(read.bytes);
}

bool SettingsVersions::Read(Version& version) { return version.read || BytesOf(version); }

bool SettingsVersions::Parse(Version& version) {
    if (version.state) return true;
    std::optional<std::string> bytes = BytesOf(version);
    NoteState state;
    if (!bytes || LoadSettingsFromText(state, DecodeSettingsBytes(std::move(*bytes))) == LoadOutcome::Unreadable)
        return false;
    version.state = std::move(state);
    return true;
}

void SettingsVersions::Record(const FileFingerprint& file, std::string_view bytes, NoteState state) {
    Push(file, bytes, std::move(state));
}

void SettingsVersions::RecordOnDisk(std::string_view bytes) { Push(FileFingerprint::Of(bytes), bytes, std::nullopt); }

void SettingsVersions::Push(const FileFingerprint& file, std::string_view bytes, std::optional<NoteState> state) {
    // A version neither parsed nor kept on disk is known by its fingerprint alone: no base for a merge.
    versions_.push_front({file, std::move(state), KeepOnDisk(file, bytes), file.size, true});
    Trim();
}

std::string SettingsVersions::KeepOnDisk(const FileFingerprint& file, std::string_view bytes) {
    if (folder_.empty()) return {};
    if (file.size > kBudgetBytes || bytes.size() != file.size) {
        for (Version& version : versions_) RemoveFile(std::exchange(version.path, std::string()));
        return {};
    }
    std::string error;
    if (!MakeOwnFolder(folder_, &error)) {
        log_.Failure("the version merges start from is not kept across runs: " + error);
        return {};
    }
    char name[32];
    std::snprintf(name, sizeof name, "%010llu.ini", static_cast<unsigned long long>(nextNumber_++));
    const std::string path = folder_ + "/" + name;
    if (!WriteOwnFile(path, bytes, modeLike_, &error)) {
        log_.Failure("the version merges start from is not kept across runs: " + error);
        return {};
    }
    return path;
}

// At most kKept versions, the older ones within the budget; the newest always.
void SettingsVersions::Trim() {
    size_t total = 0;
    size_t keep = 0;
    while (keep < versions_.size() && keep < kKept) {
        const size_t size = versions_[keep].size;
        if (keep > 0 && total + size > kBudgetBytes) break;
        total += size;
        ++keep;
    }
    for (size_t i = keep; i < versions_.size(); ++i) RemoveFile(versions_[i].path);
    versions_.resize(keep);
}

bool SettingsVersions::Knows(std::string_view bytes) {
    const FileFingerprint fingerprint = FileFingerprint::Of(bytes);
    for (Version& version : versions_)
        if (Read(version) && version.fingerprint == fingerprint) return true;
    return false;
}

const NoteState& SettingsVersions::Last() {
    static const NoteState kNone;
    return Any() && Parse(versions_.front()) ? *versions_.front().state : kNone;
}

NoteState SettingsVersions::NearestTo(const NoteState& copy, const NoteState& current, bool skipLast) {
    const NoteState* nearest = nullptr;
    size_t best = 0;
    for (size_t i = skipLast ? 1 : 0; i < versions_.size(); ++i) {
        if (!Parse(versions_[i])) continue;
        const NoteState& version = *versions_[i].state;
        if (SameNotes(version, current)) continue;
        const size_t distance = VersionDistance(version, copy);
        if (!nearest || distance <= best) nearest = &version, best = distance;
    }
    return nearest ? *nearest : NoteState{};
}
