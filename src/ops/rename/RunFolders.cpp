#include "ops/rename/RunFolders.h"

#include "platform/FileSystem.h"

namespace morvane {

std::uint32_t RunFolders::Add(std::string_view path, const FolderId& id) {
    // A folder replaced between two registrations stands twice, once per identity.
    std::string key(path);
    key.append(1, '\0')
        .append(std::to_string(id.device))
        .append(1, ':')
        .append(std::to_string(id.inode));
    const auto [at, added] =
        byPath_.try_emplace(std::move(key), static_cast<std::uint32_t>(folders_.size()));
    if (added)
        folders_.push_back({std::string(path), id, 0, false, {}});
    return at->second;
}

const FolderHandle* RunFolders::Open(std::uint32_t folder, int* error) {
    Folder& entry = folders_[folder];
    if (entry.error != 0) {
        *error = entry.error;
        return nullptr;
    }
    if (entry.open) {
        open_.splice(open_.begin(), open_, entry.at);
        return &entry.at->second;
    }
    FolderHandle handle;
    if (const FsStatus status = fs_.OpenFolder(entry.path, entry.id, &handle); !status.Ok()) {
        entry.error = status.error;
        *error = status.error;
        return nullptr;
    }
    if (open_.size() >= keepOpen_) {
        folders_[open_.back().first].open = false;
        open_.pop_back();
    }
    open_.emplace_front(folder, std::move(handle));
    entry.open = true;
    entry.at = open_.begin();
    return &open_.front().second;
}

}  // namespace morvane
