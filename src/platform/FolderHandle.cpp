#include "platform/FolderHandle.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "platform/RenameFlagAnswers.h"

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

namespace {

// 0 when nothing is at the name (not even a dangling link), EEXIST when something is, else
// the errno of the look.
int NameFreeAt(int dir, const char* name) {
    struct stat st {};
    if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return errno == ENOENT ? 0 : errno;
}

// The device of the folder that holds `name` (relative to `dir`), which is the device a
// rename there is made on; 0 when it cannot be read.
std::uint64_t FolderDeviceOf(int dir, const char* name) {
    const char* slash = std::strrchr(name, '/');
    std::string folder = ".";
    if (slash != nullptr)
        folder.assign(name, slash == name ? 1 : static_cast<std::size_t>(slash - name));
    struct stat st {};
    return fstatat(dir, folder.c_str(), &st, 0) == 0 ? st.st_dev : 0;
}

// The answers of a file system that does not take the flag (FUSE: EINVAL).
bool FlagRefused(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

}  // namespace

int MoveWithoutRenameFlagAt(int fromDir, const char* from, int toDir, const char* to) {
    if (const int e = NameFreeAt(toDir, to); e != 0)
        return e;
    struct stat source {};
    if (fstatat(fromDir, from, &source, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    // Looked at again right before the move, after the round trip above. What another
    // program puts at the target between this look and the renameat below would be
    // replaced: these file systems offer no call that closes that window (most have no hard
    // links either), and a link and an unlink would leave one file under two names if cut
    // off between them. The window is one system call wide.
    if (const int e = NameFreeAt(toDir, to); e != 0)
        return e;
    return renameat(fromDir, from, toDir, to) == 0 ? 0 : errno;
}

int MoveNoReplaceAt(int fromDir, const char* from, int toDir, const char* to) {
#ifdef SYS_renameat2
    // Devices that refused the flag before go the other way at once.
    if (!RenameFlagRefusedAnywhere() || !RenameFlagRefusedOn(FolderDeviceOf(toDir, to))) {
        const int e =
            syscall(SYS_renameat2, fromDir, from, toDir, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
        if (!FlagRefused(e))
            return e;
        const int checked = MoveWithoutRenameFlagAt(fromDir, from, toDir, to);
        // EINVAL again: the move itself was wrong (a folder into itself), not the flag.
        if (checked != EINVAL && checked != EEXIST)
            NoteRenameFlagRefused(FolderDeviceOf(toDir, to));
        return checked;
    }
#endif
    return MoveWithoutRenameFlagAt(fromDir, from, toDir, to);
}

}  // namespace morvane
