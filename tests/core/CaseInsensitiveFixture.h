#pragma once
// The whole program over a temporary tree with a folder "plain" on the tree's own file system
// and folders made to act as on a case-insensitive one.

#include <string>

#include "RenameFixture.h"
#include "core/CaseInsensitiveFolder.h"

namespace morvane::test {

class CaseInsensitiveFixture : public RenameFixture {
protected:
    CaseInsensitiveFixture() { dir.MakeFolder("plain"); }

    // Makes the folder act so (and, with `perSpelling`, give inode numbers as exfat-fuse
    // does).
    void FoldCase(const std::string& folder = "usb", bool perSpelling = false) {
        CaseInsensitiveFolder folding;
        folding.inodePerSpelling = perSpelling;
        folding.ApplyTo(fs, dir.MakeFolder(folder));
    }
    // The row of a file of the temporary tree, made holding its own relative path if need be.
    int Row(const std::string& relative) {
        if (!PathExists(dir / relative))
            dir.MakeFile(relative, relative);
        return Register(relative);
    }
    std::uint32_t Errors(int row) { return app.List().EntryAt(row)->errors; }
    bool Logged(const std::string& line) const {
        return Log().find("\n" + line) != std::string::npos;
    }
};

}  // namespace morvane::test
