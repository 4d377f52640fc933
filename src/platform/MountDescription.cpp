#include "platform/MountDescription.h"

#include <cinttypes>
#include <cstdio>
#include <string_view>
#include <utility>

namespace morvane {
namespace {

// Names a driver or a FUSE program goes by, and the file system each is.
constexpr std::pair<std::string_view, std::string_view> kDrivers[] = {
    {"msdos", "vfat"},   {"fusefat", "vfat"},    {"exfat-fuse", "exfat"}, {"ntfs3", "ntfs"},
    {"ntfs-3g", "ntfs"}, {"lowntfs-3g", "ntfs"}, {"smb3", "cifs"},        {"smb", "cifs"},
    {"smbfs", "cifs"},   {"gvfsd-fuse", "gvfs"}, {"nfs4", "nfs"},
};

std::string Canonical(std::string_view name) {
    for (const auto& [alias, driver] : kDrivers) {
        if (name == alias)
            return std::string(driver);
    }
    return std::string(name);
}

bool IsFuse(std::string_view type) {
    return type == "fuse" || type == "fuseblk" || type.starts_with("fuse.") ||
           type.starts_with("fuseblk.");
}

bool IsWindowsFamily(std::string_view driver) {
    return driver == "vfat" || driver == "exfat" || driver == "ntfs" || driver == "cifs";
}

}  // namespace

std::string DriverOf(const std::string& type, const std::string& deviceType) {
    // A block device tells what it holds whoever mounts it.
    if (!deviceType.empty() && (type == "fuseblk" || type.starts_with("fuseblk.")))
        return Canonical(deviceType);
    const std::size_t dot = type.find('.');
    if (IsFuse(type))
        return dot == std::string::npos ? std::string() : Canonical(type.substr(dot + 1));
    return Canonical(type);
}

bool DecidesRenamesOnItsOwn(std::uint32_t fileSystemType) {
    switch (fileSystemType) {
        case 0xFF534D42u:  // CIFS
        case 0xFE534D42u:  // SMB2
        case 0x0000517Bu:  // SMB
        case 0x00006969u:  // NFS
        case kFuseMagicNumber:
        case 0x01021997u:  // 9P
            return true;
        default:
            return false;
    }
}

MountDescription DescribeMount(const MountFacts& facts) {
    MountDescription description;
    MountTraits& traits = description.traits;
    traits.type = facts.type;
    traits.driver = DriverOf(facts.type, facts.deviceType);
    traits.mountPoint = facts.mountPoint == "/" ? std::string() : facts.mountPoint;
    if (!facts.uuid.empty()) {
        traits.identity = "uuid:" + facts.uuid;
    } else if (facts.fsid != 0) {
        char text[32];
        std::snprintf(text, sizeof text, "fsid:%016" PRIx64, facts.fsid);
        traits.identity = text;
    } else {
        traits.identity = "mount:" + facts.mountPoint + " " + facts.type;
    }

    const std::string& driver = traits.driver;
    const bool fuse = IsFuse(facts.type);
    // A FUSE block mount whose device could not be read is most likely NTFS or exFAT: the
    // stricter rules cost a refused name at worst, where the looser could cost the file.
    const bool unknownBlock = fuse && driver.empty() && facts.type.starts_with("fuseblk");
    if (IsWindowsFamily(driver) || unknownBlock) {
        traits.characters = NameCharacters::Windows;
        traits.lengthInUtf16 = true;
    }
    if (driver == "vfat" || driver == "exfat" || driver == "cifs") {
        traits.caseInsensitive = true;
        description.caseRule = CaseRule::Known;
    } else if (fuse || facts.decidesOnItsOwn || driver == "ntfs") {
        description.caseRule = CaseRule::Probe;
    } else {
        description.caseRule = CaseRule::FolderFlag;
    }
    // FAT and exFAT keep no inode numbers: the kernel and the FUSE drivers make them up as
    // files are looked up, so they change with a remount. sshfs and gvfs number what they
    // meet; a FUSE driver we do not know is taken to do the same. ntfs-3g gives the MFT
    // record number, which stays; SMB shares give the server's numbers or invented ones.
    const bool inventsInodes =
        driver == "vfat" || driver == "exfat" || driver == "cifs" || (fuse && driver != "ntfs");
    traits.stableInodes = !inventsInodes;
    traits.hardLinks = driver != "vfat" && driver != "exfat";
    traits.decidesOnItsOwn = facts.decidesOnItsOwn;
    return description;
}

}  // namespace morvane
