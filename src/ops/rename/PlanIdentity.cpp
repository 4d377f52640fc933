#include "ops/rename/PlanIdentity.h"

#include "platform/Paths.h"

namespace morvane {
namespace {

EntryKind KindOf(FileKind kind) {
    switch (kind) {
        case FileKind::Regular:
            return EntryKind::File;
        case FileKind::Directory:
            return EntryKind::Folder;
        case FileKind::Symlink:
            return EntryKind::Link;
        case FileKind::Other:
            break;
    }
    return EntryKind::Other;
}

bool SameFile(const FileMark& mark, const FileInfo& info) {
    if (KindOf(info.kind) != mark.kind)
        return false;
    const bool birthThen = mark.birthSec != 0 || mark.birthNsec != 0;
    const bool birthNow = info.birthSec != 0 || info.birthNsec != 0;
    if (birthThen && birthNow)
        return mark.birthSec == info.birthSec && mark.birthNsec == info.birthNsec;
    if (mark.kind == EntryKind::Folder)
        return true;
    return mark.size == info.size && mark.mtimeSec == info.mtimeSec &&
           mark.mtimeNsec == info.mtimeNsec;
}

}  // namespace

FileMark MarkOf(const FileInfo& info) {
    return {KindOf(info.kind), info.size,     info.mtimeSec,
            info.mtimeNsec,    info.birthSec, info.birthNsec};
}

bool PlanIdentity::SameVolume(const JournalVolume& volume, const std::string& path,
                              const FileInfo& info) {
    if (volume.identity.empty())
        return info.device == volume.device;
    auto known = identities_.find(info.device);
    if (known == identities_.end()) {
        const std::string_view parent = ParentOf(path);
        known = identities_
                    .emplace(info.device,
                             fs_.TraitsOf(std::string(parent.empty() ? path : parent)).identity)
                    .first;
    }
    // A mount that tells no identity now is known by its device number alone.
    return known->second.empty() ? info.device == volume.device : known->second == volume.identity;
}

Recognition PlanIdentity::Recognize(const JournalEntry& entry, const std::string& path,
                                    const FileInfo& info) {
    if (entry.volume >= volumes_.size())
        return info.device == entry.device && info.inode == entry.inode ? Recognition::Ours
                                                                        : Recognition::Other;
    const JournalVolume& volume = volumes_[entry.volume];
    if (!SameVolume(volume, path, info))
        return Recognition::Other;
    if (!volume.stableInodes)
        return SameFile(entry.mark, info) ? Recognition::Ours : Recognition::Other;
    if (info.inode != entry.inode)
        return Recognition::Other;
    return SameFile(entry.mark, info) ? Recognition::Ours : Recognition::NotOurs;
}

}  // namespace morvane
