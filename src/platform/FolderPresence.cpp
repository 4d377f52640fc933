#include "ops/FolderPresence.h"

#include <vector>

#include "platform/FileSystem.h"

namespace morvane {

namespace {

std::uint64_t InodeByItself(FileSystem& fs, const std::string& path) {
    const auto info = fs.Find(path);
    return info ? info->inode : 0;
}

}  // namespace

std::uint64_t FolderPresence::InodeOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return InodeByItself(fs_, path);
    const std::string_view folderPart =
        slash == 0 ? std::string_view("/") : std::string_view(path).substr(0, slash);
    auto it = folders_.find(folderPart);
    if (it == folders_.end())
        it = folders_.emplace(std::string(folderPart), Folder{}).first;
    Folder& f = it->second;
    if (!f.read && ++f.asked >= kReadFrom) {
        f.read = true;
        std::vector<NamedInode> entries;
        f.readable = fs_.ListFolderInodes(it->first, &entries).Ok();
        if (f.readable && !entries.empty()) {
            const std::string first =
                (it->first == "/" ? std::string() : it->first) + "/" + entries.front().name;
            f.inodesHold = InodeByItself(fs_, first) == entries.front().inode;
        }
        f.names.reserve(entries.size());
        for (auto& entry : entries)
            f.names.emplace(std::move(entry.name), entry.inode);
    }
    // A folder that can be searched but not read still answers path by path.
    if (!f.read || !f.readable)
        return InodeByItself(fs_, path);
    const auto found = f.names.find(std::string_view(path).substr(slash + 1));
    if (found == f.names.end())
        return 0;
    return f.inodesHold ? found->second : InodeByItself(fs_, path);
}

}  // namespace morvane
