#pragma once
// A folder held open by descriptor, so that moves through it happen in that very folder
// whatever its path comes to name meanwhile.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace morvane {

// What names one folder on this machine, whatever path leads to it.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool Known() const { return inode != 0; }
    bool operator==(const FolderId&) const = default;
};

class FolderHandle {
public:
    FolderHandle() = default;
    FolderHandle(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    ~FolderHandle();

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // The path it was opened by, without a final slash ("" for the root).
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// How many folder descriptors one run may hold: a quarter of the process's descriptor limit,
// so the rest of the program keeps room, within 16 and 4096.
std::size_t FolderHandlesToKeep();

// Moves `from` to `to` relative to the folder descriptors (AT_FDCWD for the working folder),
// never replacing anything at the target: renameat2 with RENAME_NOREPLACE, or where the file
// system refuses the flag (FUSE drivers) a plain renameat once the target is seen free. A
// device that refused the flag once goes the second way at once. 0 or an errno value.
int MoveNoReplaceAt(int fromDir, const char* from, int toDir, const char* to);
// The second way alone, for tests of it: the target looked at (lstat, relative to the same
// descriptor) before and again right before a plain renameat. Something put there between
// that last look and the call would be replaced; the window is one system call wide.
int MoveWithoutRenameFlagAt(int fromDir, const char* from, int toDir, const char* to);

}  // namespace morvane
