#include "platform/FolderPresence.h"

#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace morvane {

namespace {

std::uint64_t InodeByItself(FileSystem& fs, const std::string& path) {
    const auto info = fs.Find(path);
    return info ? info->inode : 0;
}

// What a folder's listing can be trusted for, told by one of its entries with a letter in its
// name: `absence` unless the file system finds that name in the other letter case too (then a
// name missing from the listing may still be taken), `inodes` when the listed inode number is
// the file's own. A folder with no letter in any name cannot tell, and is trusted for nothing.
struct ListingTrust {
    bool absence = false;
    bool inodes = false;
};

ListingTrust TrustListing(FileSystem& fs, const std::string& folderPrefix,
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
        const auto self = fs.Find(folderPrefix + entry.name);
        const auto other = fs.Find(folderPrefix + flipped);
        // Both spellings one file: the file system does not tell them apart.
        const bool foldsCase =
            self && other && self->inode == other->inode && self->device == other->device;
        return {!foldsCase, self && self->inode == entry.inode};
    }
    return {};
}

}  // namespace

std::uint64_t FolderPresence::InodeOf(const std::string& path) {
    const std::string_view folderPart = ParentOf(path);
    const std::string_view name = NameOf(path);
    if (folderPart.empty() || name.empty())
        return InodeByItself(fs_, path);
    auto it = folders_.find(folderPart);
    if (it == folders_.end())
        it = folders_.emplace(std::string(folderPart), Folder{}).first;
    Folder& f = it->second;
    if (!f.read && ++f.asked >= kReadFrom) {
        f.read = true;
        std::vector<NamedInode> entries;
        const std::string prefix = (it->first == "/" ? std::string() : it->first) + "/";
        if (fs_.ListFolderInodes(it->first, &entries).Ok()) {
            const ListingTrust trust = TrustListing(fs_, prefix, entries);
            // exfat-fuse finds a name in any case but gives each spelling an inode number of
            // its own, which the look above cannot tell from a case-sensitive file system.
            f.readable = trust.absence && !fs_.TraitsOf(it->first).caseInsensitive;
            f.inodesHold = trust.inodes;
        }
        f.names.reserve(entries.size());
        for (auto& entry : entries)
            f.names.emplace(std::move(entry.name), entry.inode);
    }
    // A folder that can be searched but not read still answers path by path.
    if (!f.read || !f.readable)
        return InodeByItself(fs_, path);
    const auto found = f.names.find(name);
    if (found == f.names.end())
        return 0;
    return f.inodesHold ? found->second : InodeByItself(fs_, path);
}

}  // namespace morvane
