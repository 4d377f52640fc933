#pragma once
// MountTraits of the real file system, read once per mount and kept until the mount table
// changes: the mount from /proc/self/mountinfo, the device behind a block mount, statfs.
// Folder by folder only what differs by folder: ext4's casefold flag.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/MountDescription.h"
#include "platform/MountTraits.h"

namespace morvane {

class MountTraitsCache {
public:
    // The traits of the file system the folder lies on (links followed); the defaults when
    // the folder cannot be looked at.
    MountTraits Of(const std::string& folder);

private:
    struct Mount {
        MountDescription description;
        // CaseRule::Probe: the answer once a folder could give one.
        std::optional<bool> folds;
        // CaseRule::FolderFlag: by the folder's inode number.
        std::unordered_map<std::uint64_t, bool> casefolded;
    };

    static MountDescription Describe(const std::string& folder, std::uint64_t device,
                                     std::uint64_t mountId);

    std::mutex mutex_;
    std::uint64_t generation_ = 0;
    // By device and mount id (0 where the kernel tells none).
    std::map<std::pair<std::uint64_t, std::uint64_t>, Mount> mounts_;
};

}  // namespace morvane
