#pragma once
// What a mount does, told from what the mount table and the device say of it: the part of
// MountTraits that needs no look into a folder.

#include <cstdint>
#include <string>

#include "platform/MountTraits.h"

namespace morvane {

// What is read of one mount.
struct MountFacts {
    std::string type;        // the mount table's: "ext4", "fuseblk", "fuse.sshfs"
    std::string mountPoint;  // "/" for the root
    std::string deviceType;  // what the block device holds ("exfat"), "" when unknown
    std::string uuid;        // of the file system on the device, "" when unknown
    std::uint64_t fsid = 0;  // statfs f_fsid, 0 when it gives none
    bool decidesOnItsOwn = false;
};

// How to learn whether names fold case there.
enum class CaseRule : std::uint8_t {
    Known,       // the file system says it: traits.caseInsensitive holds
    FolderFlag,  // folder by folder, by its casefold flag (ext4, f2fs, tmpfs)
    Probe,       // only asking for a name in another case tells (NTFS, network, other FUSE)
};

struct MountDescription {
    MountTraits traits;
    CaseRule caseRule = CaseRule::Known;
};

// The file system proper behind a mount type: "vfat" for "msdos" and "fuse.fusefat", "ntfs"
// for "ntfs3" and "fuseblk" over an NTFS device; "" for a FUSE mount that says nothing.
std::string DriverOf(const std::string& type, const std::string& deviceType);

MountDescription DescribeMount(const MountFacts& facts);

// statfs's f_type of every FUSE mount, whatever its driver.
inline constexpr std::uint32_t kFuseMagicNumber = 0x65735546u;
// File systems that decide on renames themselves (the server, the FUSE daemon), whatever
// the mode bits say; by statfs's f_type.
bool DecidesRenamesOnItsOwn(std::uint32_t fileSystemType);

}  // namespace morvane
