// What the program learns of the file system a folder lies on: the mount table and udev's
// data read as text, the traits of each kind of mount, and the read-only case probe.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <functional>
#include <set>

#include "platform/BlockDeviceFs.h"
#include "platform/FileSystem.h"
#include "platform/FoldedCase.h"
#include "platform/MountDescription.h"
#include "platform/MountInfo.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

constexpr const char* kTable =
    "26 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard\n"
    "44 26 7:0 / /media/usb\\040stick rw,nosuid,nodev,relatime - fuseblk /dev/loop0 "
    "rw,user_id=0,group_id=0,default_permissions,allow_other,blksize=4096\n"
    "46 26 0:39 / /mnt/fat rw,nosuid,nodev,relatime - fuse.fusefat fusefat rw,user_id=0\n"
    "48 26 0:41 / /home/me/remote rw,nosuid,nodev,relatime shared:5 master:2 - fuse.sshfs "
    "me@host:/srv/photos rw,user_id=1000,group_id=1000\n"
    "50 26 254:0 /home/me/photos /srv/photos rw,relatime - ext4 /dev/vda rw\n"
    "51 50 254:0 /home/me/photos /srv/photos rw,relatime - ext4 /dev/vda rw\n"
    "not a mount line\n"
    "52 26 0:50 / /tmp/broken rw - \n";

TEST(MountInfoTest, LinesAreReadWithTheirEscapesAndOptionalFields) {
    const auto usb = ParseMountInfoLine(
        "44 26 7:0 / /media/usb\\040stick\\011tab\\134 rw,nosuid - fuseblk /dev/loop0 rw\n");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->id, 44u);
    EXPECT_EQ(usb->major, 7u);
    EXPECT_EQ(usb->minor, 0u);
    EXPECT_EQ(usb->root, "/");
    EXPECT_EQ(usb->mountPoint, "/media/usb stick\ttab\\");
    EXPECT_EQ(usb->options, "rw,nosuid");
    EXPECT_EQ(usb->type, "fuseblk");
    EXPECT_EQ(usb->source, "/dev/loop0");
    EXPECT_EQ(usb->superOptions, "rw");

    const std::vector<MountInfoEntry> mounts = ParseMountInfo(kTable);
    ASSERT_EQ(mounts.size(), 6u);
    EXPECT_EQ(mounts[3].type, "fuse.sshfs");
    EXPECT_EQ(mounts[3].source, "me@host:/srv/photos");
    EXPECT_EQ(mounts[3].mountPoint, "/home/me/remote");
    EXPECT_EQ(mounts[4].root, "/home/me/photos");

    for (const char* broken : {"", "x 26 7:0 / /m rw - ext4 /dev/a rw", "44 26 7 / /m rw - ext4 a",
                               "44 26 7:0 / /m rw shared:1", "44 26 7:0 / /m rw - "}) {
        EXPECT_FALSE(ParseMountInfoLine(broken)) << broken;
    }
}

TEST(MountInfoTest, AMountIsFoundByIdOrByDeviceAndTheClosestMountPoint) {
    const std::vector<MountInfoEntry> mounts = ParseMountInfo(kTable);
    ASSERT_NE(MountWithId(mounts, 48), nullptr);
    EXPECT_EQ(MountWithId(mounts, 48)->type, "fuse.sshfs");
    EXPECT_EQ(MountWithId(mounts, 99), nullptr);

    EXPECT_EQ(MountHolding(mounts, 254, 0, "/home/me/x")->id, 26u);
    EXPECT_EQ(MountHolding(mounts, 254, 0, "/")->id, 26u);
    // A bind mount of the same device, and another one over it: the top one holds.
    EXPECT_EQ(MountHolding(mounts, 254, 0, "/srv/photos/2024")->id, 51u);
    EXPECT_EQ(MountHolding(mounts, 254, 0, "/srv/photos")->id, 51u);
    // "/srv/photos" does not hold "/srv/photosX".
    EXPECT_EQ(MountHolding(mounts, 254, 0, "/srv/photosX")->id, 26u);
    EXPECT_EQ(MountHolding(mounts, 7, 0, "/media/usb stick/DCIM")->id, 44u);
    EXPECT_EQ(MountHolding(mounts, 7, 0, "/home"), nullptr);
    EXPECT_EQ(MountHolding(mounts, 8, 1, "/media/usb stick"), nullptr);
}

TEST(BlockDeviceFsTest, UdevDataGivesTheTypeAndTheUuid) {
    const BlockDeviceFs found = ParseUdevData(
        "S:disk/by-uuid/EFDF-98D3\nI:1234\nE:ID_FS_UUID_ENC=EFDF-98D3\nE:ID_FS_UUID=EFDF-98D3\n"
        "E:ID_FS_VERSION=1.0\nE:ID_FS_TYPE=exfat\nE:ID_FS_USAGE=filesystem\nG:systemd\n");
    EXPECT_EQ(found.type, "exfat");
    EXPECT_EQ(found.uuid, "EFDF-98D3");
    const BlockDeviceFs none = ParseUdevData("E:ID_FS_TYPE_OLD=vfat\nE:ID_PART_TABLE_UUID=x");
    EXPECT_EQ(none.type, "");
    EXPECT_EQ(none.uuid, "");
}

MountTraits Traits(const std::string& type, const std::string& deviceType = "",
                   bool decidesOnItsOwn = false) {
    MountFacts facts;
    facts.type = type;
    facts.mountPoint = "/mnt/x";
    facts.deviceType = deviceType;
    facts.decidesOnItsOwn = decidesOnItsOwn || type.starts_with("fuse");
    return DescribeMount(facts).traits;
}

TEST(MountDescriptionTest, WindowsFileSystemsHaveWindowsRulesWhoeverMountsThem) {
    for (const auto& [type, device] :
         std::initializer_list<std::pair<std::string, std::string>>{{"vfat", ""},
                                                                    {"msdos", ""},
                                                                    {"exfat", ""},
                                                                    {"ntfs3", ""},
                                                                    {"ntfs", ""},
                                                                    {"cifs", ""},
                                                                    {"smb3", ""},
                                                                    {"fuseblk", "exfat"},
                                                                    {"fuseblk", "ntfs"},
                                                                    {"fuseblk", "vfat"},
                                                                    {"fuse.fusefat", ""},
                                                                    {"fuseblk", ""}}) {
        const MountTraits traits = Traits(type, device);
        EXPECT_EQ(traits.characters, NameCharacters::Windows) << type << " " << device;
        EXPECT_TRUE(traits.lengthInUtf16) << type << " " << device;
    }
    for (const std::string type : {"ext4", "btrfs", "xfs", "tmpfs", "nfs4", "fuse.sshfs", "9p"}) {
        const MountTraits traits = Traits(type);
        EXPECT_EQ(traits.characters, NameCharacters::Posix) << type;
        EXPECT_FALSE(traits.lengthInUtf16) << type;
    }
    EXPECT_EQ(Traits("fuseblk", "exfat").driver, "exfat");
    EXPECT_EQ(Traits("fuseblk", "ntfs").driver, "ntfs");
    EXPECT_EQ(Traits("fuse.fusefat").driver, "vfat");
    EXPECT_EQ(Traits("msdos").driver, "vfat");
    EXPECT_EQ(Traits("ntfs3").driver, "ntfs");
    EXPECT_EQ(Traits("smb3").driver, "cifs");
    EXPECT_EQ(Traits("fuse.sshfs").driver, "sshfs");
    EXPECT_EQ(Traits("fuse.gvfsd-fuse").driver, "gvfs");
    EXPECT_EQ(Traits("ext4").driver, "ext4");
    EXPECT_EQ(Traits("fuseblk").driver, "");
}

TEST(MountDescriptionTest, CaseInodesAndLinksFollowTheFileSystem) {
    const auto rule = [](const std::string& type, const std::string& device = "") {
        MountFacts facts;
        facts.type = type;
        facts.deviceType = device;
        facts.decidesOnItsOwn = type.starts_with("fuse") || type == "nfs4";
        return DescribeMount(facts).caseRule;
    };
    for (const auto& [type, device] :
         std::initializer_list<std::pair<std::string, std::string>>{{"vfat", ""},
                                                                    {"exfat", ""},
                                                                    {"fuseblk", "exfat"},
                                                                    {"fuse.fusefat", ""},
                                                                    {"cifs", ""}}) {
        EXPECT_TRUE(Traits(type, device).caseInsensitive) << type << " " << device;
        EXPECT_EQ(rule(type, device), CaseRule::Known) << type << " " << device;
    }
    EXPECT_EQ(rule("ext4"), CaseRule::FolderFlag);
    EXPECT_EQ(rule("tmpfs"), CaseRule::FolderFlag);
    EXPECT_EQ(rule("fuseblk", "ntfs"), CaseRule::Probe);
    EXPECT_EQ(rule("ntfs3"), CaseRule::Probe);
    EXPECT_EQ(rule("fuse.sshfs"), CaseRule::Probe);
    EXPECT_EQ(rule("nfs4"), CaseRule::Probe);
    EXPECT_FALSE(Traits("ext4").caseInsensitive);

    // Inode numbers made up by the driver.
    for (const auto& [type, device] :
         std::initializer_list<std::pair<std::string, std::string>>{{"fuse.sshfs", ""},
                                                                    {"fuseblk", "exfat"},
                                                                    {"fuse.fusefat", ""},
                                                                    {"fuse.gvfsd-fuse", ""},
                                                                    {"fuse.somethingnew", ""},
                                                                    {"fuseblk", ""},
                                                                    {"cifs", ""},
                                                                    {"vfat", ""},
                                                                    {"exfat", ""}}) {
        EXPECT_FALSE(Traits(type, device).stableInodes) << type << " " << device;
    }
    for (const auto& [type, device] : std::initializer_list<std::pair<std::string, std::string>>{
             {"ext4", ""}, {"fuseblk", "ntfs"}, {"ntfs3", ""}, {"nfs4", ""}, {"tmpfs", ""}}) {
        EXPECT_TRUE(Traits(type, device).stableInodes) << type << " " << device;
    }
    EXPECT_FALSE(Traits("fuseblk", "exfat").hardLinks);
    EXPECT_FALSE(Traits("vfat").hardLinks);
    EXPECT_TRUE(Traits("fuseblk", "ntfs").hardLinks);
    EXPECT_TRUE(Traits("ext4").hardLinks);
    EXPECT_TRUE(Traits("fuse.sshfs").decidesOnItsOwn);
    EXPECT_FALSE(Traits("ext4").decidesOnItsOwn);
}

TEST(MountDescriptionTest, TheIdentitySurvivesARemountWhereTheDeviceTellsOne) {
    MountFacts facts;
    facts.type = "fuseblk";
    facts.mountPoint = "/media/me/USB";
    facts.uuid = "EFDF-98D3";
    facts.fsid = 0x1234;
    EXPECT_EQ(DescribeMount(facts).traits.identity, "uuid:EFDF-98D3");
    EXPECT_EQ(DescribeMount(facts).traits.mountPoint, "/media/me/USB");
    facts.uuid.clear();
    EXPECT_EQ(DescribeMount(facts).traits.identity, "fsid:0000000000001234");
    facts.fsid = 0;
    EXPECT_EQ(DescribeMount(facts).traits.identity, "mount:/media/me/USB fuseblk");
    facts.mountPoint = "/";
    EXPECT_EQ(DescribeMount(facts).traits.mountPoint, "");
}

// A folder of these names on a file system that finds a name in any letter case, or not.
std::function<int(const std::string&)> LookUp(const std::vector<std::string>& names, bool folds) {
    return [names, folds](const std::string& asked) {
        for (const std::string& name : names) {
            if (name == asked || (folds && SwappedCase(name) == asked))
                return 0;
        }
        return ENOENT;
    };
}

TEST(FoldedCaseTest, AnEntryAskedForInTheOtherCaseTellsWhetherNamesFold) {
    EXPECT_EQ(SwappedCase("IMG_0001.jpg"), "img_0001.JPG");
    EXPECT_EQ(SwappedCase("写真.Jpg"), "写真.jPG");
    const std::vector<std::string> names{"0001", "Report.txt"};
    EXPECT_EQ(FoldsCaseByEntries(names, LookUp(names, true)), true);
    EXPECT_EQ(FoldsCaseByEntries(names, LookUp(names, false)), false);
    // Both spellings listed: that entry cannot ask; the next one does.
    const std::vector<std::string> both{"a", "A", "b"};
    EXPECT_EQ(FoldsCaseByEntries(both, LookUp(both, false)), false);
    EXPECT_EQ(FoldsCaseByEntries({"a", "A"}, LookUp({"a", "A"}, true)), std::nullopt);
    // No letters, or no answer but errors: nothing learnt.
    EXPECT_EQ(FoldsCaseByEntries({"0001", "2024-01-01"}, LookUp({}, true)), std::nullopt);
    EXPECT_EQ(FoldsCaseByEntries({}, LookUp({}, true)), std::nullopt);
    int asked = 0;
    const auto failing = [&asked](const std::string&) {
        ++asked;
        return EIO;
    };
    EXPECT_EQ(FoldsCaseByEntries({"a", "b", "c", "d", "e"}, failing), std::nullopt);
    EXPECT_EQ(asked, 3);
}

TEST(FoldedCaseTest, ATestFolderHereKeepsCase) {
    test::TempDir dir;
    EXPECT_EQ(FoldsCaseByProbe(dir.path()), std::nullopt);  // nothing to ask with
    dir.MakeFile("Photo.JPG");
    EXPECT_EQ(FoldsCaseByProbe(dir.path()), false);
    EXPECT_FALSE(HasCasefoldFlag(dir.path()));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"Photo.JPG"});
}

TEST(MountTraitsTest, TheTestFolderIsDescribedAsTheMountTableHasIt) {
    test::TempDir dir;
    FileSystem& fs = RealFileSystem();
    const MountTraits traits = fs.TraitsOf(dir.path());
    struct stat st {};
    ASSERT_EQ(stat(dir.path().c_str(), &st), 0);
    std::string table;
    ASSERT_TRUE(fs.ReadFile("/proc/self/mountinfo", kNoSizeLimit, &table).Ok());
    std::set<std::string> types;
    for (const MountInfoEntry& mount : ParseMountInfo(table)) {
        if (mount.major == major(st.st_dev) && mount.minor == minor(st.st_dev))
            types.insert(mount.type);
    }
    EXPECT_TRUE(types.contains(traits.type)) << traits.type;
    EXPECT_FALSE(traits.driver.empty());
    EXPECT_TRUE(traits.identity.starts_with("uuid:") || traits.identity.starts_with("fsid:") ||
                traits.identity.starts_with("mount:"))
        << traits.identity;
    EXPECT_TRUE(dir.path().starts_with(traits.mountPoint + "/"));
    // Tests run on a Linux file system.
    EXPECT_EQ(traits.characters, NameCharacters::Posix);
    EXPECT_FALSE(traits.caseInsensitive);
    EXPECT_TRUE(traits.noReplaceRename);
    // One answer for every folder of the mount, and the same when asked again.
    const std::string sub = dir.MakeFolder("sub");
    const MountTraits again = fs.TraitsOf(sub);
    EXPECT_EQ(again.type, traits.type);
    EXPECT_EQ(again.identity, traits.identity);
    EXPECT_EQ(again.mountPoint, traits.mountPoint);

    // A folder that is not there has nothing to tell.
    const MountTraits none = fs.TraitsOf(dir / "absent");
    EXPECT_EQ(none.type, "");
    EXPECT_EQ(none.identity, "");
}

}  // namespace
}  // namespace morvane
