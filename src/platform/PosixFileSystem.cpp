#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/FolderHandle.h"
#include "platform/MountDescription.h"
#include "platform/MountTraitsCache.h"
#include "platform/Paths.h"
#include "platform/ReadToEnd.h"

namespace morvane {
namespace detail {

int MoveWithoutRenameFlag(const std::string& from, const std::string& to) {
    return MoveWithoutRenameFlagAt(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str());
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

FileInfo Describe(std::string_view path, const struct stat& st) {
    FileInfo info;
    // Straight into the name: a temporary would cost an allocation of its own.
    info.name.assign(NameOf(path));
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
    info.links = st.st_nlink;
    info.owner = st.st_uid;
    info.changeSec = st.st_ctim.tv_sec;
    info.changeNsec = st.st_ctim.tv_nsec;
    return info;
}

// The path's own statx: everything lstat tells, and the flags that forbid a rename.
bool StatxOf(const std::string& path, int flags, struct statx* sx) {
    return statx(AT_FDCWD, path.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, sx) == 0;
}

bool Unchangeable(const struct statx& sx) {
    const auto flags = std::uint64_t{STATX_ATTR_IMMUTABLE} | STATX_ATTR_APPEND;
    return (sx.stx_attributes & sx.stx_attributes_mask & flags) != 0;
}

FileInfo Describe(std::string_view path, const struct statx& sx) {
    struct stat st {};
    st.st_mode = sx.stx_mode;
    st.st_size = static_cast<off_t>(sx.stx_size);
    st.st_mtim.tv_sec = sx.stx_mtime.tv_sec;
    st.st_mtim.tv_nsec = sx.stx_mtime.tv_nsec;
    st.st_dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    st.st_ino = sx.stx_ino;
    st.st_nlink = sx.stx_nlink;
    st.st_uid = sx.stx_uid;
    FileInfo info = Describe(path, st);
    info.unchangeable = Unchangeable(sx);
    info.changeSec = sx.stx_ctime.tv_sec;
    info.changeNsec = sx.stx_ctime.tv_nsec;
    if ((sx.stx_mask & STATX_BTIME) != 0) {
        info.birthSec = sx.stx_btime.tv_sec;
        info.birthNsec = sx.stx_btime.tv_nsec;
    }
    return info;
}

FsStatus StatusOf(FsOp op, int error) {
    return error == 0 ? FsStatus::Done() : FsStatus::Failed(op, error);
}

// errno of the call that just failed; EIO where a call failed without setting it.
int LastError() {
    return errno != 0 ? errno : EIO;
}

// Calls each(folder descriptor, name, inode as the folder tells it) for every entry of the
// folder but "." and "..".
template <typename Each>
FsStatus ForEachEntry(const std::string& dir, Each each) {
    DIR* d = opendir(dir.c_str());
    if (d == nullptr)
        return FsStatus::Failed(FsOp::ListFolder, LastError());
    const int folder = dirfd(d);
    errno = 0;
    while (const dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            each(folder, e->d_name, static_cast<std::uint64_t>(e->d_ino));
        // Only readdir's own failure counts.
        errno = 0;
    }
    const int e = errno;
    closedir(d);
    return StatusOf(FsOp::ListFolder, e);
}

// The text of the link at `path`.
FsStatus ReadLinkText(const std::string& path, std::string* target) {
    std::string buffer(4096, '\0');
    for (;;) {
        const ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return FsStatus::Failed(FsOp::ReadLink, LastError());
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            *target = std::move(buffer);
            return FsStatus::Done();
        }
        buffer.resize(buffer.size() * 2);
    }
}

// As many links as the kernel follows in one lookup.
constexpr int kMaxLinkHops = 40;

// Follows `path` through links (relative ones from the link's folder) to the name that is
// no link: an existing file, or the missing one a dangling link names.
FsStatus ResolveLinks(const std::string& path, std::string* target) {
    *target = path;
    for (int hops = 0; hops < kMaxLinkHops; ++hops) {
        struct stat st {};
        if (lstat(target->c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return FsStatus::Done();
        std::string next;
        if (const FsStatus read = ReadLinkText(*target, &next); !read.Ok())
            return FsStatus::Failed(FsOp::Write, read.error);
        const std::string_view folder = FolderOf(*target);
        if (next.empty() || next.front() == '/' || folder.empty())
            *target = std::move(next);
        else
            *target = std::string(folder) + next;
    }
    return FsStatus::Failed(FsOp::Write, ELOOP);
}

// Opens a regular file for reading into *fd: 0, or the errno of the look or the open, or
// EINVAL for anything else (a FIFO, a device). The path is looked at before it is opened:
// opening a device can do things (rewind a tape, wait for a modem), opening a FIFO waits for a
// writer. The open does not block either, in case the path is swapped between the two.
int OpenRegularFile(const std::string& path, int* fd, struct stat* st) {
    *fd = -1;
    struct stat seen {};
    if (stat(path.c_str(), &seen) != 0)
        return LastError();
    if (!S_ISREG(seen.st_mode))
        return EINVAL;
    *fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (*fd < 0)
        return LastError();
    int refused = 0;
    if (fstat(*fd, st) != 0)
        refused = LastError();
    else if (!S_ISREG(st->st_mode) || st->st_dev != seen.st_dev || st->st_ino != seen.st_ino)
        refused = EINVAL;
    if (refused != 0) {
        close(*fd);
        *fd = -1;
    }
    return refused;
}

// At most maxBytes of a regular file, from its start or up to its end, and its size.
FsStatus ReadSpan(const std::string& path, std::size_t maxBytes, bool fromEnd, std::string* content,
                  std::uint64_t* fileSize) {
    content->clear();
    *fileSize = 0;
    struct stat st {};
    int fd = -1;
    if (const int refused = OpenRegularFile(path, &fd, &st); refused != 0)
        return FsStatus::Failed(FsOp::Read, refused);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    *fileSize = size;
    // A file of /proc tells no size and is read from its start; a known size keeps a small
    // file from holding a buffer of maxBytes.
    std::size_t want = maxBytes;
    if (size > 0 && size < want)
        want = static_cast<std::size_t>(size);
    const off_t offset = fromEnd && size > want ? static_cast<off_t>(size - want) : 0;
    content->resize(want);
    std::size_t got = 0;
    int error = 0;
    while (got < want) {
        const ssize_t n =
            pread(fd, content->data() + got, want - got, offset + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = LastError();
        if (n <= 0)
            break;  // or shrunk while read
        got += static_cast<std::size_t>(n);
    }
    content->resize(error == 0 ? got : 0);
    close(fd);
    return error == 0 ? FsStatus::Done() : FsStatus::Failed(FsOp::Read, error);
}

FsStatus ReplaceFile(const std::string& path, std::string_view content) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return FsStatus::Failed(FsOp::Write, LastError());
    // Keep the target's permissions when it exists; a new file gets the usual 0644.
    struct stat st {};
    int e = 0;
    if (fchmod(fd, stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644) != 0)
        e = LastError();
    if (e == 0 && (!WriteAll(fd, content) || fsync(fd) != 0))
        e = LastError();
    if (close(fd) != 0 && e == 0)
        e = LastError();
    if (e == 0 && rename(temp.c_str(), path.c_str()) != 0)
        e = LastError();
    if (e != 0)
        unlink(temp.c_str());
    return StatusOf(FsOp::Write, e);
}

class PosixFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0;
    }

    std::optional<FileInfo> Find(const std::string& path) override {
        struct statx sx {};
        if (StatxOf(path, AT_SYMLINK_NOFOLLOW, &sx))
            return Describe(path, sx);
        if (errno != ENOSYS)
            return std::nullopt;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            return std::nullopt;
        return Describe(path, st);
    }

    FolderRights RightsIn(const std::string& folder) override {
        FolderRights rights;
        rights.caller = geteuid();
        struct statfs fs {};
        struct statx sx {};
        using Verdict = FolderRights::Verdict;
        // A folder that cannot be looked at cannot be vouched for.
        if (statfs(folder.c_str(), &fs) != 0 || !StatxOf(folder, 0, &sx)) {
            rights.verdict = Verdict::Refused;
            return rights;
        }
        rights.id = {makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
        rights.sticky = (sx.stx_mode & S_ISVTX) != 0;
        rights.owner = sx.stx_uid;
        // What can be read refuses on every file system; a server or a FUSE daemon may still
        // refuse what all of it allows.
        const bool readOnly = (fs.f_flags & ST_RDONLY) != 0;
        if (readOnly || Unchangeable(sx) || access(folder.c_str(), W_OK | X_OK) != 0)
            rights.verdict = Verdict::Refused;
        else if (DecidesRenamesOnItsOwn(static_cast<std::uint32_t>(fs.f_type)))
            rights.verdict = Verdict::Unknown;
        else
            rights.verdict = Verdict::Allowed;
        return rights;
    }

    std::optional<FileInfo> FindTarget(const std::string& path) override {
        struct stat st {};
        if (stat(path.c_str(), &st) != 0)
            return std::nullopt;
        return Describe(path, st);
    }

    FsStatus ListFolder(const std::string& dir, std::vector<std::string>* names) override {
        names->clear();
        return ForEachEntry(
            dir, [&](int, const char* name, std::uint64_t) { names->emplace_back(name); });
    }

    FsStatus ListFolderInodes(const std::string& dir, std::vector<NamedInode>* entries) override {
        entries->clear();
        return ForEachEntry(dir, [&](int, const char* name, std::uint64_t inode) {
            entries->push_back({name, inode});
        });
    }

    FsStatus ListFolderFound(const std::string& dir, std::vector<ListedEntry>* entries) override {
        entries->clear();
        return ForEachEntry(dir, [&](int folder, const char* name, std::uint64_t) {
            ListedEntry& entry = entries->emplace_back();
            struct statx sx {};
            if (statx(folder, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) ==
                0) {
                entry.info = Describe(name, sx);
                entry.found = true;
            } else if (struct stat st{};
                       errno == ENOSYS && fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                entry.info = Describe(name, st);
                entry.found = true;
            } else {
                entry.info.name = name;
            }
        });
    }

    FsStatus Move(const std::string& from, const std::string& to) override {
        return StatusOf(FsOp::Move, MoveNoReplaceAt(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str()));
    }

    FsStatus OpenFolder(const std::string& path, const FolderId& expected,
                        FolderHandle* handle) override {
        *handle = {};
        // Links on the way are followed (a user may reach a folder through one); what decides
        // is that the folder reached is the one recorded.
        const int fd = open(path.empty() ? "/" : path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return FsStatus::Failed(FsOp::OpenFolder, LastError());
        struct stat st {};
        int e = 0;
        if (fstat(fd, &st) != 0)
            e = LastError();
        else if (!expected.Known() || FolderId{st.st_dev, st.st_ino} != expected)
            e = ESTALE;
        if (e != 0) {
            close(fd);
            return FsStatus::Failed(FsOp::OpenFolder, e);
        }
        *handle = FolderHandle(fd, path);
        return FsStatus::Done();
    }

    std::optional<FileInfo> FindWithin(const FolderHandle& folder,
                                       const std::string& name) override {
        struct statx sx {};
        if (statx(folder.Descriptor(), name.c_str(), AT_SYMLINK_NOFOLLOW,
                  STATX_BASIC_STATS | STATX_BTIME, &sx) == 0)
            return Describe(name, sx);
        if (errno != ENOSYS)
            return std::nullopt;
        struct stat st {};
        if (fstatat(folder.Descriptor(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return std::nullopt;
        return Describe(name, st);
    }

    FsStatus MoveWithin(const FolderHandle& folder, const std::string& from,
                        const std::string& to) override {
        const int fd = folder.Descriptor();
        return StatusOf(FsOp::Move, MoveNoReplaceAt(fd, from.c_str(), fd, to.c_str()));
    }

    FsStatus Remove(const std::string& path) override {
        return StatusOf(FsOp::Remove, unlink(path.c_str()) == 0 ? 0 : errno);
    }

    FsStatus ReadFileStart(const std::string& path, std::size_t maxBytes, std::string* content,
                           std::uint64_t* fileSize) override {
        return ReadSpan(path, maxBytes, false, content, fileSize);
    }

    FsStatus ReadFileEnd(const std::string& path, std::size_t maxBytes, std::string* content,
                         std::uint64_t* fileSize) override {
        return ReadSpan(path, maxBytes, true, content, fileSize);
    }

    FsStatus ReadFile(const std::string& path, std::uint64_t maxBytes,
                      std::string* content) override {
        content->clear();
        struct stat st {};
        int fd = -1;
        if (const int refused = OpenRegularFile(path, &fd, &st); refused != 0)
            return FsStatus::Failed(FsOp::Read, refused);
        if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
            close(fd);
            return FsStatus::Failed(FsOp::Read, EFBIG);
        }
        const int e = ReadAtMost(fd, maxBytes, content);
        close(fd);
        if (e != 0) {
            content->clear();
            return FsStatus::Failed(FsOp::Read, e);
        }
        return FsStatus::Done();
    }

    FsStatus WriteFileAtomic(const std::string& path, std::string_view content) override {
        // The user's link stays; the file it leads to is the one replaced, from beside it.
        std::string target;
        if (const FsStatus resolved = ResolveLinks(path, &target); !resolved.Ok())
            return resolved;
        return ReplaceFile(target, content);
    }

    FsStatus CreateExclusive(const std::string& path, std::string_view content) override {
        const int fd =
            open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return FsStatus::Failed(FsOp::Create, LastError());
        int e = 0;
        if (!WriteAll(fd, content))
            e = LastError();
        if (close(fd) != 0 && e == 0)
            e = LastError();
        if (e != 0)
            unlink(path.c_str());
        return StatusOf(FsOp::Create, e);
    }

    FsStatus MakeFolder(const std::string& path) override {
        return StatusOf(FsOp::MakeFolder, mkdir(path.c_str(), 0700) == 0 ? 0 : errno);
    }

    std::size_t NameMax(const std::string& folder) override {
        const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
        return limit > 0 ? static_cast<std::size_t>(limit) : std::size_t{NAME_MAX};
    }

    MountTraits TraitsOf(const std::string& folder) override { return traits_.Of(folder); }

    FsStatus CheckAccess(const std::string& path, AccessMode mode) override {
        int how = R_OK;
        if (mode == AccessMode::Execute)
            how = X_OK;
        else if (mode == AccessMode::CreateInFolder)
            how = W_OK | X_OK;
        return StatusOf(FsOp::Access, access(path.c_str(), how) == 0 ? 0 : errno);
    }

    FsStatus ReadLink(const std::string& path, std::string* target) override {
        return ReadLinkText(path, target);
    }

    FsStatus OpenLocked(const std::string& path, bool create, LockedFile* file) override {
        const int flags =
            O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0);
        const int fd = open(path.c_str(), flags, 0600);
        if (fd < 0)
            return FsStatus::Failed(create ? FsOp::Create : FsOp::Write, LastError());
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = LastError();
            close(fd);
            return FsStatus::Failed(FsOp::Write, e);
        }
        *file = LockedFile(fd, path);
        return FsStatus::Done();
    }

    FsStatus Append(LockedFile& file, std::string_view data, bool sync) override {
        if (!WriteAll(file.Descriptor(), data))
            return FsStatus::Failed(FsOp::Write, LastError());
        if (sync && fdatasync(file.Descriptor()) != 0)
            return FsStatus::Failed(FsOp::Write, LastError());
        return FsStatus::Done();
    }

    FsStatus SyncFolder(const std::string& path) override {
        const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return FsStatus::Failed(FsOp::Write, LastError());
        const int e = fsync(fd) == 0 ? 0 : LastError();
        close(fd);
        return StatusOf(FsOp::Write, e);
    }

private:
    MountTraitsCache traits_;
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

bool IsTransientError(int error) {
    return error == EBUSY || error == ETXTBSY || error == EINTR;
}

FsStatus MakeFolders(FileSystem& fs, const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty()) {
            const FsStatus made = fs.MakeFolder(part);
            if (!made.Ok() && made.error != EEXIST)
                return made;
        }
        if (slash == std::string::npos)
            break;
    }
    const auto info = fs.FindTarget(path);
    return info && info->IsDirectory() ? FsStatus::Done()
                                       : FsStatus::Failed(FsOp::MakeFolder, ENOTDIR);
}

bool IsWritableDirectory(FileSystem& fs, const std::string& dir) {
    return !dir.empty() && fs.CheckAccess(dir, AccessMode::CreateInFolder).Ok();
}

}  // namespace morvane
