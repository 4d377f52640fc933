#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"

namespace morvane {
namespace {

int RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef SYS_renameat2
    if (syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) ==
        0) {
        return 0;
    }
    return errno;
#else
    (void)from;
    (void)to;
    return EINVAL;
#endif
}

}  // namespace

namespace detail {

// Both ways fail rather than replace.
int MoveWithoutRenameFlag(const std::string& from, const std::string& to) {
    struct stat st {};
    if (lstat(from.c_str(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode)) {
        // An empty placeholder that we own; rename onto an empty folder is atomic and fails
        // if anyone has put something into it meanwhile.
        if (mkdir(to.c_str(), 0700) != 0)
            return errno;
        if (rename(from.c_str(), to.c_str()) != 0) {
            const int e = errno;
            rmdir(to.c_str());
            return e;
        }
        return 0;
    }
    if (link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (unlink(from.c_str()) != 0) {
        const int e = errno;
        unlink(to.c_str());
        return e;
    }
    return 0;
}

}  // namespace detail

namespace {

bool WriteAll(int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

class PosixFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0;
    }

    std::optional<FileInfo> Find(const std::string& path) override {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            return std::nullopt;
        FileInfo info;
        const auto slash = path.find_last_of('/');
        info.name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (S_ISDIR(st.st_mode)) {
            info.kind = FileKind::Directory;
        } else if (S_ISREG(st.st_mode)) {
            info.kind = FileKind::Regular;
        } else if (S_ISLNK(st.st_mode)) {
            info.kind = FileKind::Symlink;
        } else {
            info.kind = FileKind::Other;
        }
        info.size = info.kind == FileKind::Directory ? 0 : static_cast<std::uint64_t>(st.st_size);
        info.mtimeSec = st.st_mtim.tv_sec;
        info.mtimeNsec = st.st_mtim.tv_nsec;
        info.ownerWritable = (st.st_mode & S_IWUSR) != 0;
        info.device = st.st_dev;
        info.inode = st.st_ino;
        return info;
    }

    bool ListFolder(const std::string& dir, std::vector<std::string>* names) override {
        names->clear();
        DIR* d = opendir(dir.c_str());
        if (d == nullptr)
            return false;
        while (const dirent* e = readdir(d)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
                continue;
            names->emplace_back(e->d_name);
        }
        closedir(d);
        return true;
    }

    int Move(const std::string& from, const std::string& to) override {
        const int e = RenameNoReplace(from, to);
        if (e == EINVAL || e == ENOSYS)
            return detail::MoveWithoutRenameFlag(from, to);
        return e;
    }

    int Remove(const std::string& path) override { return unlink(path.c_str()) == 0 ? 0 : errno; }

    bool ReadFile(const std::string& path, std::string* content) override {
        content->clear();
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        char buffer[65536];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                close(fd);
                return false;
            }
            if (n == 0)
                break;
            content->append(buffer, static_cast<std::size_t>(n));
        }
        close(fd);
        return true;
    }

    int WriteFileAtomic(const std::string& path, std::string_view content) override {
        std::string temp = path + ".XXXXXX";
        const int fd = mkstemp(temp.data());
        if (fd < 0)
            return errno;
        // Keep the target's permissions when it exists; a new file gets the usual 0644.
        struct stat st {};
        fchmod(fd, stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
        int e = 0;
        if (!WriteAll(fd, content) || fsync(fd) != 0)
            e = errno != 0 ? errno : EIO;
        if (close(fd) != 0 && e == 0)
            e = errno;
        if (e == 0 && rename(temp.c_str(), path.c_str()) != 0)
            e = errno;
        if (e != 0)
            unlink(temp.c_str());
        return e;
    }

    int CreateExclusive(const std::string& path, std::string_view content) override {
        const int fd =
            open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return errno;
        int e = 0;
        if (!WriteAll(fd, content))
            e = errno != 0 ? errno : EIO;
        if (close(fd) != 0 && e == 0)
            e = errno;
        if (e != 0)
            unlink(path.c_str());
        return e;
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

bool IsTransientError(int error) {
    return error == EBUSY || error == ETXTBSY || error == EINTR;
}

}  // namespace morvane
