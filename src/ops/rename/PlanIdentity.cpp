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

bool SameFile(const FileMark& mark, const FileInfo& info, bool timesKept) {
    if (KindOf(info.kind) != mark.kind)
        return false;
    const bool birthThen = mark.birthSec != 0 || mark.birthNsec != 0;
    const bool birthNow = info.birthSec != 0 || info.birthNsec != 0;
    if (birthThen && birthNow)
        return mark.birthSec == info.birthSec && mark.birthNsec == info.birthNsec;
    if (mark.kind == EntryKind::Folder)
        return true;
    return mark.size == info.size &&
           (!timesKept || (mark.mtimeSec == info.mtimeSec && mark.mtimeNsec == info.mtimeNsec));
}

}  // namespace

FileMark MarkOf(const FileInfo& info) {
    return {KindOf(info.kind), info.size,     info.mtimeSec,
            info.mtimeNsec,    info.birthSec, info.birthNsec};
}

const PlanIdentity::Mount& PlanIdentity::MountOf(const std::string& path, const FileInfo& info) {
    auto known = mounts_.find(info.device);
    if (known == mounts_.end()) {
        const std::string_view parent = ParentOf(path);
        const MountTraits traits = fs_.TraitsOf(std::string(parent.empty() ? path : parent));
        known = mounts_.emplace(info.device, Mount{traits.identity, traits.renameKeepsTimes}).first;
    }
    return known->second;
}

bool PlanIdentity::SameVolume(const JournalVolume& volume, const Mount& mount,
                              const FileInfo& info) const {
    if (volume.identity.empty())
        return info.device == volume.device;
    // A mount that tells no identity now is known by its device number alone.
    return mount.identity.empty() ? info.device == volume.device
                                  : mount.identity == volume.identity;
}

Recognition PlanIdentity::Recognize(const JournalEntry& entry, const std::string& path,
                                    const FileInfo& info) {
    if (entry.volume >= volumes_.size())
        return info.device == entry.device && info.inode == entry.inode ? Recognition::Ours
                                                                        : Recognition::Other;
    const JournalVolume& volume = volumes_[entry.volume];
    const Mount& mount = MountOf(path, info);
    if (!SameVolume(volume, mount, info))
        return Recognition::Other;
    if (!volume.stableInodes)
        return SameFile(entry.mark, info, mount.renameKeepsTimes) ? Recognition::Ours
                                                                  : Recognition::Other;
    if (info.inode != entry.inode)
        return Recognition::Other;
    return SameFile(entry.mark, info, mount.renameKeepsTimes) ? Recognition::Ours
                                                              : Recognition::NotOurs;
}

}  // namespace morvane
