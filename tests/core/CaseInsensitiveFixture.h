#pragma once
// The rename parts, registration and the name tools over a temporary tree with a folder "plain"
// on the tree's own file system and folders made to act as on a case-insensitive one.

#include <string>

#include "RenameFixture.h"
#include "core/CaseInsensitiveFolder.h"
#include "ops/nametools/NameTools.h"

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
    // Registered as the user registers them: registration decides whether a row's keys fold.
    int Register(const std::string& relative) override {
        EXPECT_TRUE(registrar.registration.RegisterPath(dir / relative)) << relative;
        list.RenumberRows();
        return list.RowCount() - 1;
    }
    // The row of a file of the temporary tree, made holding its own relative path if need be.
    int Row(const std::string& relative) {
        if (!PathExists(dir / relative))
            dir.MakeFile(relative, relative);
        return Register(relative);
    }
    std::uint32_t Errors(int row) { return list.EntryAt(row)->errors; }
    bool Logged(const std::string& line) const {
        return Log().find("\n" + line) != std::string::npos;
    }

    RegistrationPart registrar{*this};
    NameTools nameTools{list, validation, fs, log, host};
};

}  // namespace morvane::test
