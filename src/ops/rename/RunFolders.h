#pragma once
// The folders a rename run moves files in, each opened by its path and checked against the
// folder recorded at registration. Only a few stay open at a time: a run may touch more
// folders than a process may hold descriptors.

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FolderHandle.h"

namespace morvane {

class FileSystem;

class RunFolders {
public:
    // Rows of many folders may stand interleaved: the open set is as large as the descriptor
    // limit allows, so such a run does not reopen a folder for every move.
    explicit RunFolders(FileSystem& fs, std::size_t keepOpen = FolderHandlesToKeep())
        : fs_(fs), keepOpen_(keepOpen) {}

    // The number of the folder at `path` (no final slash) recorded as `id`; the same pair
    // gets the same number.
    std::uint32_t Add(std::string_view path, const FolderId& id);
    const std::string& PathOf(std::uint32_t folder) const { return folders_[folder].path; }
    // The folder open and checked, or nullptr with *error set. Once a folder failed its check
    // it fails for the rest of the run, even if the path comes to lead to it again.
    const FolderHandle* Open(std::uint32_t folder, int* error);

private:
    using OpenList = std::list<std::pair<std::uint32_t, FolderHandle>>;
    struct Folder {
        std::string path;
        FolderId id;
        int error = 0;
        bool open = false;
        OpenList::iterator at;  // in open_, while open
    };

    FileSystem& fs_;
    const std::size_t keepOpen_;
    std::vector<Folder> folders_;
    std::unordered_map<std::string, std::uint32_t> byPath_;
    // Most recently used first.
    OpenList open_;
};

}  // namespace morvane
