#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "store/FileIO.h"
#include "store/XdgFolders.h"

namespace {

constexpr size_t kTempRandomLength = 6;  // mkostemp's XXXXXX

std::string Describe(const std::string& what, int error) { return what + ": " + std::strerror(error); }

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

FileStamp StampOf(const struct stat& info) {
    return {uint64_t(info.st_size), int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            uint64_t(info.st_ino) ^ (uint64_t(info.st_dev) << 40)};
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

void SyncFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The program's own files are as private as the notes file: its permission bits, never wider.
mode_t OwnFileMode(const std::string& modeLike) {
    struct stat notes;
    if (stat(modeLike.c_str(), &notes) == 0 && S_ISREG(notes.st_mode)) return (notes.st_mode & 0666) & NewFileMode();
    return NewFileMode() & 0600;
}

// The temporary file gets what the replaced file had: its permission bits and, where allowed, its owner.
void TakeOverAttributes(int fd, const std::string& target) {
    struct stat old;
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 07777);
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) && fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only some users may give a file away; the permission bits still hold.
        }
    } else {
        fchmod(fd, NewFileMode());
    }
}

// Read-only (no write permission for anyone) is the user's word, also for a user who could replace
// the file through its folder; a file this user may not write is not this user's to replace.
bool IsReadOnly(const std::string& target) {
    struct stat info;
    if (stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return (info.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0;
}

// Writes a fresh temporary file beside target, flushed to disk, and puts it in target's place in one step.
template <typename SetMode>
bool ReplaceByTemporary(const std::string& target, std::string_view bytes, SetMode setMode, bool failAfterWriting,
                        std::string* error) {
    std::string temp = target + std::string(kTemporaryInfix) + std::string(kTempRandomLength, 'X');
    // A fresh name, created exclusively: nothing planted beside the file can redirect or block the write.
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = Describe(temp, errno);
        return false;
    }
    setMode(fd);
    const bool written = WriteAll(fd, bytes) && !failAfterWriting && fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = close(fd) == 0;
    if (!written || !closed || rename(temp.c_str(), target.c_str()) != 0) {
        if (error) *error = failAfterWriting ? temp + ": write failed" : Describe(target, written ? errno : writeError);
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(target);
    return true;
}

// A path the program's own file may be written at: free, or a regular file (never a link).
bool IsOwnFilePlace(const std::string& path, std::string* error) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return true;
    if (error) *error = path + ": a link or another kind of file stands in its place; left alone";
    return false;
}

FileRead ReadRegularFile(const std::string& path, bool followLinks) {
    FileRead result;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        struct stat info;
        const int error = errno;
        const bool missing = error == ENOENT && (lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode));
        result.status = missing ? FileRead::Status::Missing : FileRead::Status::Failed;
        if (!missing) result.error = error == ELOOP ? path + ": a link stands in its place" : Describe(path, error);
        return result;
    }
    result.status = FileRead::Status::Failed;
    struct stat before;
    if (fstat(fd, &before) != 0 || !S_ISREG(before.st_mode)) {
        result.error = path + ": not a regular file";
        close(fd);
        return result;
    }
    result.bytes.resize(size_t(before.st_size));
    size_t done = 0;
    for (;;) {
        if (done == result.bytes.size()) result.bytes.resize(done + 65536);  // the file grew meanwhile
        const ssize_t n = read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.error = Describe(path, errno);
            result.bytes.clear();
            close(fd);
            return result;
        }
        if (n == 0) break;
        done += size_t(n);
    }
    struct stat after;
    const bool stable = fstat(fd, &after) == 0 && StampOf(after) == StampOf(before) && done == size_t(before.st_size);
    close(fd);
    result.bytes.resize(done);
    result.status = FileRead::Status::Read;
    result.stamp = StampOf(before);
    result.changing = !stable;
    return result;
}

}  // namespace

// The file a chain of symbolic links ends at; a dangling link names the file a write will create.
std::string ResolvedTarget(const std::string& linkPath) {
    std::string path = linkPath;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(size_t(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0) return path;
        target.resize(size_t(length));
        if (target[0] != '/') {
            const std::string folder = FolderOf(path);
            if (!folder.empty()) target = folder + "/" + target;
        }
        path = std::move(target);
    }
    return path;
}

bool IsOwnTemporarySuffix(std::string_view suffix) {
    if (suffix.size() != kTempRandomLength) return false;
    for (char c : suffix)
        if (!IsAsciiAlnum(c)) return false;
    return true;
}

FileRead ReadSettingsFile(const std::string& path) { return ReadRegularFile(path, true); }

FileRead ReadOwnFile(const std::string& path) { return ReadRegularFile(path, false); }

std::optional<FileStamp> StampOfFile(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return StampOf(info);
}

bool WriteFileAtomicallyOnDisk(const std::string& path, std::string_view bytes, bool failAfterWriting,
                               std::string* error) {
    const std::string target = ResolvedTarget(path);
    if (IsReadOnly(target)) {
        if (error) *error = target + ": the file is read-only";
        return false;
    }
    const auto keepAttributes = [&](int fd) { TakeOverAttributes(fd, target); };
    return ReplaceByTemporary(target, bytes, keepAttributes, failAfterWriting, error);
}

bool WriteOwnFile(const std::string& path, std::string_view bytes, const std::string& modeLike, std::string* error) {
    if (!IsOwnFilePlace(path, error)) return false;
    const mode_t mode = OwnFileMode(modeLike);
    const auto setMode = [mode](int fd) { fchmod(fd, mode); };
    return ReplaceByTemporary(path, bytes, setMode, false, error);
}

bool MakeOwnFolder(const std::string& folder, std::string* error) {
    if (!MakeFolders(folder)) {
        if (error) *error = Describe(folder, errno);
        return false;
    }
    struct stat info;
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        if (error) *error = folder + ": not a folder of its own";
        return false;
    }
    // Folders an earlier version made readable by others become private.
    if (info.st_uid == geteuid() && (info.st_mode & 077) != 0) chmod(folder.c_str(), info.st_mode & 0700);
    return true;
}

void NarrowModeTo(const std::string& path, const std::string& modeLike) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) return;
    const mode_t narrowed = (info.st_mode & 07777) & OwnFileMode(modeLike);
    if (narrowed != (info.st_mode & 07777)) chmod(path.c_str(), narrowed);
}

bool KeepCopyOf(const std::string& path, std::string_view bytes, const std::string& copyPath, std::string* error) {
    if (!IsOwnFilePlace(copyPath, error)) return false;
    static std::atomic<unsigned> counter{0};
    const std::string link = copyPath + ".link-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const std::string target = ResolvedTarget(path);
    if (::link(target.c_str(), link.c_str()) == 0) {
        if (rename(link.c_str(), copyPath.c_str()) == 0) return true;
        unlink(link.c_str());
    }
    return WriteOwnFile(copyPath, bytes, path, error);  // another file system: a copy of its own
}

Writers WritersOf(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno == ENOENT ? Writers::None : Writers::Unknown;
    // A read lease is refused while anyone has the file open for writing. It is let go at once; a writer
    // opening the file meanwhile would be told with SIGURG, which is ignored unless asked for.
    fcntl(fd, F_SETSIG, SIGURG);
    Writers writers = Writers::Unknown;
    if (fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        fcntl(fd, F_SETLEASE, F_UNLCK);
        writers = Writers::None;
    } else if (errno == EAGAIN) {
        writers = Writers::Writing;
    }
    close(fd);
    return writers;
}
