#pragma once
// What the file system a folder lies on does, as far as renaming cares. Read from what the
// mount is (its type, the driver behind a FUSE block mount) and from what it answers when
// asked in a folder of our own; kept per mount.

#include <string>

#include "platform/NameCharacters.h"

namespace morvane {

struct MountTraits {
    std::string type;        // as the mount table gives it: "ext4", "fuseblk", "fuse.sshfs"
    std::string driver;      // the file system proper: "exfat", "ntfs", "vfat", "sshfs", "ext4"
    std::string mountPoint;  // where it is mounted, without a final slash ("" for "/")
    // Names this file system again after it is plugged in or mounted again: "uuid:…" where
    // the device tells one, "fsid:…" where statfs gives a nonzero id, else "mount:<point> <type>".
    std::string identity;

    // Windows rules: its character set, no trailing dot or space, no device names (CON, …).
    NameCharacters characters = NameCharacters::Posix;
    // The longest name is counted in UTF-16 units (FAT, exFAT, NTFS), not in bytes.
    bool lengthInUtf16 = false;
    // "A.JPG" and "a.jpg" are one name (Unicode case folding).
    bool caseInsensitive = false;
    // renameat2 takes RENAME_NOREPLACE.
    bool noReplaceRename = true;
    bool hardLinks = true;
    // A file keeps its inode number while it is renamed and after a remount: an inode
    // number identifies it.
    bool stableInodes = true;
    // The server or the FUSE daemon decides on renames, whatever the mode bits say.
    bool decidesOnItsOwn = false;
    // A folder with files in it can be renamed without losing them. fusefat loses them: after
    // the rename the folder is empty, on disk too.
    bool foldersKeepFiles = true;
    // A rename leaves a file's modification time as it was. fusefat sets it to the time of
    // the rename.
    bool renameKeepsTimes = true;
};

}  // namespace morvane
