#include "platform/FolderPresence.h"

#include <vector>

#include "platform/FileSystem.h"

namespace morvane {

namespace {

std::uint64_t InodeByItself(FileSystem& fs, const std::string& path) {
    const auto info = fs.Find(path);
    return info ? info->inode : 0;
}

// True when the file system finds a name of the folder by the name in the other letter case:
// then the absence of a name from the listing proves nothing. A folder with no letter in any
// name cannot tell, and is taken as such.
bool FindsOtherCase(FileSystem& fs, const std::string& folderPrefix,
                    const std::vector<NamedInode>& entries) {
    for (const NamedInode& entry : entries) {
        std::string flipped = entry.name;
        bool letter = false;
        for (char& c : flipped) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                c = static_cast<char>(c ^ 0x20);
                letter = true;
            }
        }
        if (!letter)
            continue;
        const auto other = fs.Find(folderPrefix + flipped);
        if (!other)
            return false;
        // Both spellings listed: two files, so the file system tells them apart.
        const auto self = fs.Find(folderPrefix + entry.name);
        return self && self->inode == other->inode && self->device == other->device;
    }
    return true;
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
        const std::string prefix = (it->first == "/" ? std::string() : it->first) + "/";
        f.readable =
            fs_.ListFolderInodes(it->first, &entries).Ok() && !FindsOtherCase(fs_, prefix, entries);
        if (f.readable && !entries.empty())
            f.inodesHold =
                InodeByItself(fs_, prefix + entries.front().name) == entries.front().inode;
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
