#include "store/FileLock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/FileIO.h"

namespace {

// One byte at the start, as Windows programs lock it: Wine turns their locks into these.
bool SetLock(int fd, int command) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return fcntl(fd, command, &lock) == 0;
}

}  // namespace

FileLock::Result FileLock::TryTake(const std::string& path, std::string* problem) {
    Release();
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        if (problem) *problem = path + ": " + std::strerror(errno);
        return Result::Unavailable;
    }
    // A lock of the open file itself, not of the process: closing another descriptor of the file (a read)
    // does not let go of it. Older kernels have only the process's own.
    bool taken = SetLock(fd, F_OFD_SETLK);
    if (!taken && errno == EINVAL) taken = SetLock(fd, F_SETLK);
    const int error = errno;
    if (taken) {
        handle_ = fd;
        return Result::Taken;
    }
    close(fd);
    if (error == EAGAIN || error == EACCES) return Result::Busy;
    if (problem) *problem = path + ": " + std::strerror(error);
    return Result::Unavailable;
}

void FileLock::Release() {
    if (handle_ == kNone) return;
    close(int(handle_));  // lets go of the lock
    handle_ = kNone;
}
