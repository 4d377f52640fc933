#pragma once
// "Does anything exist at this path, and which file is it?" for many paths in few folders: a folder
// asked about often is read once instead of taking one lstat per path. The answers are those of the
// moment each folder is read, so use it only while the program itself changes nothing there.
// A folder whose file system finds a name in another letter case (FAT, exFAT, SMB, casefolded
// ext4) is always asked path by path: its listing cannot say a name is free.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/TextHash.h"

namespace morvane {

class FileSystem;

class FolderPresence {
public:
    explicit FolderPresence(FileSystem& fs) : fs_(fs) {}

    // As FileSystem::Exists: a dangling link occupies its name.
    bool Exists(const std::string& path) { return InodeOf(path) != 0; }
    // The inode number of what is at the path (a link itself), 0 when nothing is.
    std::uint64_t InodeOf(const std::string& path);

private:
    // From this many questions on, a folder is read whole: reading a name costs a small part
    // of what an lstat of it costs.
    static constexpr std::size_t kReadFrom = 16;

    using NameSet = std::unordered_map<std::string, std::uint64_t, TextHash, std::equal_to<>>;

    struct Folder {
        std::size_t asked = 0;
        bool read = false;
        // Read, and a name missing from its listing is free; where not, each path is looked at
        // by itself.
        bool readable = false;
        // The folder's inode numbers are the files' own (checked on one entry); where not,
        // each path found is looked at by itself.
        bool inodesHold = false;
        NameSet names;
    };

    FileSystem& fs_;
    std::unordered_map<std::string, Folder, TextHash, std::equal_to<>> folders_;
};

}  // namespace morvane
