#include "platform/FolderHandle.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace morvane {

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

FolderHandle::~FolderHandle() {
    if (fd_ >= 0)
        close(fd_);
}

std::size_t FolderHandlesToKeep() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 64;
    return std::clamp<std::size_t>(static_cast<std::size_t>(limit.rlim_cur / 4), 16, 4096);
}

int MoveWithoutRenameFlagAt(int fromDir, const char* from, int toDir, const char* to) {
    struct stat st {};
    if (fstatat(fromDir, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode)) {
        // An empty placeholder that we own; rename onto an empty folder is atomic and fails
        // if anyone has put something into it meanwhile.
        if (mkdirat(toDir, to, 0700) != 0)
            return errno;
        if (renameat(fromDir, from, toDir, to) != 0) {
            const int e = errno;
            unlinkat(toDir, to, AT_REMOVEDIR);
            return e;
        }
        return 0;
    }
    if (linkat(fromDir, from, toDir, to, 0) != 0)
        return errno;
    if (unlinkat(fromDir, from, 0) != 0) {
        const int e = errno;
        unlinkat(toDir, to, 0);
        return e;
    }
    return 0;
}

int MoveNoReplaceAt(int fromDir, const char* from, int toDir, const char* to) {
    int e = EINVAL;
#ifdef SYS_renameat2
    e = syscall(SYS_renameat2, fromDir, from, toDir, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
#endif
    if (e == EINVAL || e == ENOSYS)
        e = MoveWithoutRenameFlagAt(fromDir, from, toDir, to);
    return e;
}

}  // namespace morvane
