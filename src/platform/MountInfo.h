#pragma once
// The lines of /proc/self/mountinfo: which file system is mounted where, read as text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct MountInfoEntry {
    std::uint64_t id = 0;  // the mount id, as statx's STATX_MNT_ID gives it
    unsigned major = 0;    // the device numbers st_dev shows for files of the mount
    unsigned minor = 0;
    std::string root;        // the folder of the file system mounted here ("/" for all of it)
    std::string mountPoint;  // where it is mounted ("/" for the root)
    std::string options;     // of the mount: "rw,nosuid,relatime"
    std::string type;        // "ext4", "fuseblk", "fuse.sshfs"
    std::string source;      // "/dev/sda1", "user@host:/path", "fusefat"
    std::string superOptions;
};

// One line; nothing when it is not a line of that form. Spaces, tabs, newlines and
// backslashes in paths are undone from their octal escapes ("\040").
std::optional<MountInfoEntry> ParseMountInfoLine(std::string_view line);
// Every line that parses, in the order of the table (a later mount lies over an earlier one).
std::vector<MountInfoEntry> ParseMountInfo(std::string_view text);

// The mount with the id; nullptr when the table has none.
const MountInfoEntry* MountWithId(const std::vector<MountInfoEntry>& mounts, std::uint64_t id);
// The mount of the device whose mount point holds `path` (a path without links) most closely;
// of two at one point the later, which hides the other. nullptr when none does.
const MountInfoEntry* MountHolding(const std::vector<MountInfoEntry>& mounts, unsigned major,
                                   unsigned minor, std::string_view path);

}  // namespace morvane
