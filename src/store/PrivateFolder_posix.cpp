#include "store/PrivateFolder.h"

#include "store/XdgFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::optional<FolderFacts> FactsOf(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) return std::nullopt;
    return FolderFacts{S_ISDIR(info.st_mode), uint32_t(info.st_uid), uint32_t(info.st_mode & 07777)};
}

bool IsPrivate(const std::string& folder) {
    const std::optional<FolderFacts> facts = FactsOf(folder);
    return facts && IsPrivateFolder(*facts, uint32_t(getuid()));
}

// The cache folder's own subfolder, made if missing (with its parents as the user's).
std::optional<std::string> CacheSubfolder(std::string* problem) {
    const std::string cache = XdgFolder("XDG_CACHE_HOME", ".cache");
    if (cache.empty()) {
        *problem = "neither XDG_RUNTIME_DIR nor HOME is set";
        return std::nullopt;
    }
    const std::string folder = cache + "/skyslate2-runtime";
    if (!MakeFolders(folder)) {
        *problem = folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (!IsPrivate(folder)) {
        *problem = folder + " is not a folder only this user may use";
        return std::nullopt;
    }
    return folder;
}

}  // namespace

std::optional<std::string> PrivateRuntimeFolder(std::string* problem) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && IsPrivate(runtime)) return runtime;
    return CacheSubfolder(problem);
}
