#include "platform/MountTraitsCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/BlockDeviceFs.h"
#include "platform/FoldedCase.h"
#include "platform/MountInfo.h"
#include "platform/MountTableWatch.h"
#include "platform/NameCharacters.h"
#include "platform/ReadToEnd.h"
#include "platform/RenameFlagAnswers.h"

namespace morvane {
namespace {

std::string ReadMountTable() {
    std::string text;
    const int fd = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    // A read cut short leaves the mounts read so far: looked up, the rest count as unknown.
    (void)ReadToEnd(fd, &text);
    close(fd);
    return text;
}

std::uint64_t FsidOf(const struct statfs& fs) {
    std::uint32_t parts[2] = {};
    static_assert(sizeof parts == sizeof fs.f_fsid);
    std::memcpy(parts, &fs.f_fsid, sizeof parts);
    return (std::uint64_t{parts[0]} << 32) | parts[1];
}

}  // namespace

MountDescription MountTraitsCache::Describe(const std::string& folder, std::uint64_t device,
                                            std::uint64_t mountId) {
    struct statfs fs {};
    const bool known = statfs(folder.c_str(), &fs) == 0;
    const auto magic = known ? static_cast<std::uint32_t>(fs.f_type) : 0u;
    const std::vector<MountInfoEntry> mounts = ParseMountInfo(ReadMountTable());
    const MountInfoEntry* mount = mountId != 0 ? MountWithId(mounts, mountId) : nullptr;
    if (mount == nullptr) {
        char resolved[PATH_MAX];
        if (realpath(folder.c_str(), resolved) != nullptr)
            mount = MountHolding(mounts, major(device), minor(device), resolved);
    }
    MountFacts facts;
    facts.fsid = known ? FsidOf(fs) : 0;
    facts.decidesOnItsOwn = DecidesRenamesOnItsOwn(magic);
    if (mount == nullptr) {
        // No mount table (no /proc): what statfs tells alone.
        facts.type = magic == kFuseMagicNumber ? "fuse" : "";
        MountDescription description = DescribeMount(facts);
        description.traits.characters = NameCharactersOfType(magic);
        return description;
    }
    facts.type = mount->type;
    facts.mountPoint = mount->mountPoint;
    const BlockDeviceFs onDevice = ProbeBlockDevice(mount->major, mount->minor, mount->source);
    facts.deviceType = onDevice.type;
    facts.uuid = onDevice.uuid;
    return DescribeMount(facts);
}

MountTraits MountTraitsCache::Of(const std::string& folder) {
    struct statx sx {};
    if (statx(AT_FDCWD, folder.c_str(), 0, STATX_BASIC_STATS | STATX_MNT_ID, &sx) != 0)
        return {};
    const std::uint64_t device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    const std::uint64_t mountId = (sx.stx_mask & STATX_MNT_ID) != 0 ? sx.stx_mnt_id : 0;

    const std::lock_guard<std::mutex> lock(mutex_);
    // A device number may come back for another file system after an unmount.
    if (const std::uint64_t now = MountTableGeneration(); now != generation_) {
        mounts_.clear();
        generation_ = now;
    }
    auto known = mounts_.find({device, mountId});
    if (known == mounts_.end()) {
        known = mounts_.try_emplace({device, mountId}).first;
        known->second.description = Describe(folder, device, mountId);
    }
    Mount& mount = known->second;
    MountTraits traits = mount.description.traits;
    switch (mount.description.caseRule) {
        case CaseRule::Known:
            break;
        case CaseRule::FolderFlag: {
            auto flag = mount.casefolded.find(sx.stx_ino);
            if (flag == mount.casefolded.end())
                flag = mount.casefolded.emplace(sx.stx_ino, HasCasefoldFlag(folder)).first;
            traits.caseInsensitive = flag->second;
            break;
        }
        case CaseRule::Probe:
            if (!mount.folds)
                mount.folds = FoldsCaseByProbe(folder);
            // Until a folder answers, names are taken as the listing shows them; a name
            // taken under another case is still refused when the move looks at its target.
            traits.caseInsensitive = mount.folds.value_or(false);
            break;
    }
    traits.noReplaceRename = !RenameFlagRefusedOn(device);
    return traits;
}

}  // namespace morvane
