#pragma once
// Which file system a block device holds, and its UUID, without mounting anything: from the
// udev database where udev runs, else from the device's own superblock through libblkid.

#include <string>
#include <string_view>

namespace morvane {

struct BlockDeviceFs {
    std::string type;  // "exfat", "ntfs", "vfat", "ext4"; "" when unknown
    std::string uuid;  // "" when unknown
};

// The ID_FS_TYPE and ID_FS_UUID properties of a udev database file
// ("E:ID_FS_TYPE=exfat" lines).
BlockDeviceFs ParseUdevData(std::string_view text);

// The block device a mount shows: its source where that is a device under /dev, else the
// device numbers (none for major 0: no device). Whatever cannot be read (no udev, no read
// access to the device) stays "".
BlockDeviceFs ProbeBlockDevice(unsigned major, unsigned minor, const std::string& source);

}  // namespace morvane
