#include "store/FileIO.h"

#include <algorithm>
#include <filesystem>

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

bool IsOwnTemporaryName(std::string_view fileName, std::string_view settingsName) {
    const size_t prefix = settingsName.size() + kTemporaryInfix.size();
    return fileName.size() > prefix && fileName.substr(0, settingsName.size()) == settingsName &&
           fileName.substr(settingsName.size(), kTemporaryInfix.size()) == kTemporaryInfix &&
           IsOwnTemporarySuffix(fileName.substr(prefix));
}

}  // namespace

std::vector<std::string> RegularFilesIn(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(folder.empty() ? "." : folder), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (fs::is_regular_file(fs::symlink_status(it->path(), ignored))) files.push_back(it->path().u8string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> RemoveStaleTemporaries(const std::string& path) {
    const std::string target = ResolvedTarget(path);
    const std::string name = NameOf(target);
    std::vector<std::string> removed;
    for (const std::string& file : RegularFilesIn(FolderOf(target))) {  // links and FIFOs are not ours
        std::error_code ignored;
        if (IsOwnTemporaryName(NameOf(file), name) && std::filesystem::remove(std::filesystem::u8path(file), ignored))
            removed.push_back(file);
    }
    return removed;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileRead read = ReadSettingsFile(path);
    if (read.status != FileRead::Status::Read) return std::nullopt;
    return std::move(read.bytes);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, const WriteFault* fault,
                         std::string* error) {
    if (!fault) return WriteFileAtomicallyOnDisk(path, bytes, false, error);
    return WriteFileAtomicallyOnDisk(path, bytes.substr(0, std::min(fault->failAfterBytes, bytes.size())), true,
                                     error);
}
