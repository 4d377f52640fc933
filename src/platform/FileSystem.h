#pragma once
// The one seam between the program and the disk. Everything that looks at or changes files
// goes through a FileSystem, so tests can make chosen calls fail.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FolderHandle.h"
#include "platform/LockedFile.h"
#include "platform/MountTraits.h"
#include "platform/NameCharacters.h"

namespace morvane {

enum class FileKind { Regular, Directory, Symlink, Other };

// What lstat tells of one path; a symbolic link is described as itself, never followed.
struct FileInfo {
    std::string name;  // last path component
    FileKind kind = FileKind::Regular;
    std::uint64_t size = 0;      // 0 for folders
    std::int64_t mtimeSec = 0;   // last write, seconds since the epoch
    std::int64_t mtimeNsec = 0;  // the nanoseconds of the same stamp
    bool ownerWritable = true;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t owner = 0;    // user id
    bool unchangeable = false;  // immutable or append-only: no rename can take it away
    // Tell a file from a new one that took its inode number: the birth time where the file
    // system keeps one (0 otherwise), and the last change of its inode.
    std::int64_t birthSec = 0;
    std::int64_t birthNsec = 0;
    std::int64_t changeSec = 0;
    std::int64_t changeNsec = 0;

    bool IsDirectory() const { return kind == FileKind::Directory; }
};

// One entry of a folder listing and what a Find of it tells; `found` is false when the
// entry went away between the listing and the look (info.name still holds its name).
struct ListedEntry {
    FileInfo info;
    bool found = false;
};

// A folder entry and the inode number the folder gives for it. It is the file's own except
// where a file system is mounted on the entry or the file system does not keep the two alike.
struct NamedInode {
    std::string name;
    std::uint64_t inode = 0;
};

// Bounds for ReadFile.
inline constexpr std::uint64_t kNoSizeLimit = ~std::uint64_t{0};

// Which call a status is about, for messages that say what failed.
enum class FsOp : std::uint8_t {
    None,
    ListFolder,
    Move,
    Remove,
    Read,
    Write,
    Create,
    MakeFolder,
    Access,
    ReadLink,
    OpenFolder,
};

// The answer of a file-system call that can fail: the call and its errno value (0 when it
// succeeded).
struct [[nodiscard]] FsStatus {
    FsOp op = FsOp::None;
    int error = 0;

    bool Ok() const { return error == 0; }
    static FsStatus Done() { return {}; }
    static FsStatus Failed(FsOp op, int error) { return {op, error}; }
};

// Whether the files of a folder can be renamed within it, as far as the folder tells.
struct FolderRights {
    enum class Verdict : std::uint8_t {
        Allowed,  // subject to the file's own flags and the sticky bit below
        Refused,  // read-only mount, unchangeable folder, no write and search permission
        // Nothing read refuses, but a network or FUSE file system decides on its own: a move
        // may still be refused when it is made.
        Unknown,
    };
    Verdict verdict = Verdict::Unknown;
    bool sticky = false;       // only a file's owner, the folder's owner or root may rename
    std::uint32_t owner = 0;   // of the folder
    std::uint32_t caller = 0;  // our effective user id
    FolderId id;               // the folder the path led to, when it could be read
};

// What a file may be checked for (as access(2) does, with the caller's rights).
enum class AccessMode : std::uint8_t { Read, Execute, CreateInFolder };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Something occupies the path (a dangling link counts).
    virtual bool Exists(const std::string& path) = 0;
    // The path itself (a link is described as a link); nothing when there is no such path.
    virtual std::optional<FileInfo> Find(const std::string& path) = 0;
    // What the path leads to, links followed; nothing when it leads nowhere.
    virtual std::optional<FileInfo> FindTarget(const std::string& path) = 0;
    // Names of the folder's entries ("." and ".." left out, hidden ones kept), in the order
    // the file system returns them.
    virtual FsStatus ListFolder(const std::string& dir, std::vector<std::string>* names) = 0;
    // ListFolder, then a Find of every entry. The system's own looks each entry up from the
    // open folder rather than walking its whole path again.
    virtual FsStatus ListFolderFound(const std::string& dir, std::vector<ListedEntry>* entries) {
        std::vector<std::string> names;
        const FsStatus status = ListFolder(dir, &names);
        entries->clear();
        entries->reserve(names.size());
        const std::string prefix = dir == "/" ? dir : dir + "/";
        for (std::string& name : names) {
            ListedEntry& entry = entries->emplace_back();
            if (auto info = Find(prefix + name)) {
                entry.info = std::move(*info);
                entry.found = true;
            }
            entry.info.name = std::move(name);
        }
        return status;
    }
    // ListFolder with the inode number of every entry, read from the folder alone.
    virtual FsStatus ListFolderInodes(const std::string& dir, std::vector<NamedInode>* entries) {
        std::vector<ListedEntry> found;
        const FsStatus status = ListFolderFound(dir, &found);
        entries->clear();
        for (ListedEntry& entry : found) {
            if (entry.found)
                entries->push_back({std::move(entry.info.name), entry.info.inode});
        }
        return status;
    }
    // Moves a file or folder; never replaces anything at the target.
    virtual FsStatus Move(const std::string& from, const std::string& to) = 0;
    // Opens the folder the path leads to for moves within it, if it is the folder `expected`:
    // ESTALE when it is another one (replaced, or a link to elsewhere put in its place).
    virtual FsStatus OpenFolder(const std::string& path, const FolderId& expected,
                                FolderHandle* handle) = 0;
    // Moves the entry `from` of the open folder to the name `to` in it; never replaces
    // anything at the target.
    virtual FsStatus MoveWithin(const FolderHandle& folder, const std::string& from,
                                const std::string& to) = 0;
    // Deletes a file (not a folder).
    virtual FsStatus Remove(const std::string& path) = 0;
    // Reads a regular file whole (links followed). Anything else is refused with EINVAL
    // without waiting on it (a FIFO, a device), and a file over maxBytes with EFBIG.
    virtual FsStatus ReadFile(const std::string& path, std::uint64_t maxBytes,
                              std::string* content) = 0;
    // The first bytes of a regular file (links followed), at most maxBytes of them, and the
    // file's whole size; refused as ReadFile refuses. Reads no more than it hands back, so a
    // look at the start of a large video stays cheap; a fake may read the whole file.
    virtual FsStatus ReadFileStart(const std::string& path, std::size_t maxBytes,
                                   std::string* content, std::uint64_t* fileSize) {
        const FsStatus read = ReadFile(path, kNoSizeLimit, content);
        *fileSize = content->size();
        if (content->size() > maxBytes)
            content->resize(maxBytes);
        return read;
    }
    // Writes a temporary file beside path and renames it over path once complete. On failure
    // any earlier file at path is left as it was.
    virtual FsStatus WriteFileAtomic(const std::string& path, std::string_view content) = 0;
    // Creates a new file that must not exist yet (no link followed), mode 0600. EEXIST when
    // the name is taken.
    virtual FsStatus CreateExclusive(const std::string& path, std::string_view content) = 0;
    // Creates one folder, mode 0700; EEXIST when the name is taken.
    virtual FsStatus MakeFolder(const std::string& path) = 0;
    virtual FsStatus CheckAccess(const std::string& path, AccessMode mode) = 0;
    // The target a symbolic link names.
    virtual FsStatus ReadLink(const std::string& path, std::string* target) = 0;
    // Whether a rename in the folder would be allowed, read without touching anything.
    virtual FolderRights RightsIn(const std::string& folder) = 0;
    // The longest name, in bytes, the file system of the folder takes (NAME_MAX there).
    virtual std::size_t NameMax(const std::string& folder) = 0;
    // The characters the file system of the folder takes in a name.
    virtual NameCharacters CharactersIn(const std::string& folder) {
        return TraitsOf(folder).characters;
    }
    // What the file system of the folder does; asked of the mount once and kept.
    virtual MountTraits TraitsOf(const std::string& folder) = 0;
    // Opens a file for appending, mode 0600, created when `create` (it must not exist yet; no
    // link followed), and takes its lock without waiting: EWOULDBLOCK when another process
    // holds it.
    virtual FsStatus OpenLocked(const std::string& path, bool create, LockedFile* file) = 0;
    // Appends to the file, then with `sync` waits until its data is on the disk.
    virtual FsStatus Append(LockedFile& file, std::string_view data, bool sync) = 0;
    // Waits until the folder's entries (a new file, a rename in it) are on the disk.
    virtual FsStatus SyncFolder(const std::string& path) = 0;
};

// The real file system of this machine.
FileSystem& RealFileSystem();

// True for errors a retry may get past (a busy resource), false for lasting ones.
bool IsTransientError(int error);

// Creates the folder and any missing folders above it; Ok when it is a folder after.
FsStatus MakeFolders(FileSystem& fs, const std::string& path);
// True when a new file could be created in the folder.
bool IsWritableDirectory(FileSystem& fs, const std::string& dir);

namespace detail {
// The no-replace move where a file system refuses RENAME_NOREPLACE: a plain rename once the
// target is seen free, looked at again right before the call. 0 or an errno value.
int MoveWithoutRenameFlag(const std::string& from, const std::string& to);
}  // namespace detail

}  // namespace morvane
