#pragma once
// A folder of the temporary tree that acts as one on a file system made for Windows (exFAT,
// FAT, NTFS, SMB): its traits say so, and a path finds the entry whose name is the same under
// case folding, as such a file system finds it.

#include <optional>
#include <string>
#include <vector>

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "support/FaultFileSystem.h"

namespace morvane::test {

struct CaseInsensitiveFolder {
    // Each spelling of a name gets an inode number of its own, as exfat-fuse gives them.
    bool inodePerSpelling = false;

    void ApplyTo(FaultFileSystem& fs, const std::string& folder) const {
        const auto inside = [folder](const std::string& path) {
            return path == folder || path.starts_with(folder + "/");
        };
        fs.adjustTraits = [inside](const std::string& asked, MountTraits& traits) {
            if (!inside(asked))
                return;
            traits.characters = NameCharacters::Windows;
            traits.lengthInUtf16 = true;
            traits.caseInsensitive = true;
        };
        fs.adjustFind = [inside, perSpelling = inodePerSpelling](const std::string& path,
                                                                 std::optional<FileInfo>& info) {
            if (info || !inside(path))
                return;
            const std::string parent(ParentOf(path));
            std::vector<std::string> names;
            if (!RealFileSystem().ListFolder(parent, &names).Ok())
                return;
            for (const std::string& name : names) {
                if (!SameUnderCaseFolding(name, NameOf(path)))
                    continue;
                info = RealFileSystem().Find(JoinPath(parent, name));
                if (info) {
                    info->name = NameOf(path);
                    if (perSpelling)
                        info->inode += 1000000;
                }
                return;
            }
        };
    }
};

}  // namespace morvane::test
