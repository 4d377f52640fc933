#pragma once
// The one seam between the program and the disk. Everything that looks at or changes files
// goes through a FileSystem, so tests can make chosen calls fail.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

    bool IsDirectory() const { return kind == FileKind::Directory; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Something occupies the path (a dangling link counts).
    virtual bool Exists(const std::string& path) = 0;
    virtual std::optional<FileInfo> Find(const std::string& path) = 0;
    // Names of the folder's entries ("." and ".." left out, hidden ones kept), in the order
    // the file system returns them. False when the folder cannot be read.
    virtual bool ListFolder(const std::string& dir, std::vector<std::string>* names) = 0;
    // Moves a file or folder; never replaces anything at the target. 0 or an errno value.
    virtual int Move(const std::string& from, const std::string& to) = 0;
    // Deletes a file (not a folder). 0 or an errno value.
    virtual int Remove(const std::string& path) = 0;
    virtual bool ReadFile(const std::string& path, std::string* content) = 0;
    // Writes a temporary file beside path and renames it over path once complete.
    // 0 or an errno value; on failure any earlier file at path is left as it was.
    virtual int WriteFileAtomic(const std::string& path, std::string_view content) = 0;
    // Creates a new file that must not exist yet (no link followed), mode 0600.
    // 0, EEXIST when the name is taken, or another errno value.
    virtual int CreateExclusive(const std::string& path, std::string_view content) = 0;
};

// The real file system of this machine.
FileSystem& RealFileSystem();

// True for errors a retry may get past (a busy resource), false for lasting ones.
bool IsTransientError(int error);

namespace detail {
// The no-replace move where a file system refuses RENAME_NOREPLACE: a hard link and an unlink
// for a file, a rename onto a fresh empty folder of our own for a folder. 0 or an errno value.
int MoveWithoutRenameFlag(const std::string& from, const std::string& to);
}  // namespace detail

}  // namespace morvane
