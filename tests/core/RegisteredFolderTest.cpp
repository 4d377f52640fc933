// Moves happen only in the folders the rows were registered in, whatever their paths lead to
// by the time of the rename.

#include <unistd.h>

#include <cstdio>

#include "RenameFixture.h"
#include "ops/rename/RunFolders.h"

namespace morvane::test {
namespace {

using Names = std::vector<std::string>;

class RegisteredFolderTest : public RenameFixture {
protected:
    // Registered as the user registers them: what registration records of their folders is
    // what the run holds to.
    int Register(const std::string& relative) override {
        EXPECT_TRUE(registering.registration.RegisterPath(dir / relative)) << relative;
        list.RenumberRows();
        return list.RowCount() - 1;
    }
    // "photos/a.jpg" and "photos/b.jpg" registered to be renamed "a2.jpg" and "b2.jpg", and a
    // folder elsewhere holding files of the same names.
    void SetUp() override {
        dir.MakeFile("photos/a.jpg", "a");
        dir.MakeFile("photos/b.jpg", "b");
        dir.MakeFile("other/a.jpg", "foreign a");
        dir.MakeFile("other/b.jpg", "foreign b");
        SetName(Register("photos/a.jpg"), "a2.jpg");
        SetName(Register("photos/b.jpg"), "b2.jpg");
    }
    void Replace(const std::string& folder, const std::string& by) {
        ASSERT_EQ(std::rename((dir / folder).c_str(), (dir / "moved-away").c_str()), 0);
        ASSERT_EQ(symlink((dir / by).c_str(), (dir / folder).c_str()), 0);
    }

    RegistrationPart registering{*this};
};

TEST_F(RegisteredFolderTest, AFolderReplacedByALinkBeforeTheRunIsLeftAlone) {
    Replace("photos", "other");
    Run();
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(dir.Names("other"), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(dir.Names("moved-away"), (Names{"a.jpg", "b.jpg"}));
    EXPECT_NE(Log().find(FormatText(msg::kFolderReplaced, (dir / "photos/a.jpg").c_str())),
              std::string::npos);
    EXPECT_NE(Log().find(FormatText(msg::kFolderReplaced, (dir / "photos/b.jpg").c_str())),
              std::string::npos);
}

TEST_F(RegisteredFolderTest, AFolderSwappedDuringTheRunKeepsTheMovesInTheRegisteredOne) {
    // After the first move the folder is swapped for a link to the other one: the second
    // file is still renamed in the folder that was registered, wherever it now stands.
    bool swapped = false;
    fault = [&](const std::string&, const std::string&) {
        if (!swapped && !moves.empty()) {
            swapped = true;
            Replace("photos", "other");
        }
        return 0;
    };
    Run();
    EXPECT_TRUE(swapped);
    EXPECT_EQ(dir.Names("moved-away"), (Names{"a2.jpg", "b2.jpg"}));
    EXPECT_EQ(dir.Names("other"), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(Content("other/a.jpg"), "foreign a");
}

TEST_F(RegisteredFolderTest, AFolderOnTheWayReplacedByAnotherFolderIsLeftAlone) {
    dir.MakeFile("outer/inner/c.txt", "c");
    SetName(Register("outer/inner/c.txt"), "d.txt");
    // The same names, another folder: only the identity tells them apart.
    ASSERT_EQ(std::rename((dir / "outer").c_str(), (dir / "outer-old").c_str()), 0);
    dir.MakeFile("outer/inner/c.txt", "impostor");
    Run();
    EXPECT_EQ(dir.Names("outer/inner"), (Names{"c.txt"}));
    EXPECT_EQ(dir.Names("outer-old/inner"), (Names{"c.txt"}));
    EXPECT_EQ(dir.Names("photos"), (Names{"a2.jpg", "b2.jpg"}));
    EXPECT_NE(Log().find(FormatText(msg::kFolderReplaced, (dir / "outer/inner/c.txt").c_str())),
              std::string::npos);
}

TEST(RunFoldersTest, FoldersBeyondTheOpenOnesAreReopenedAndACheckThatFailedStaysFailed) {
    TempDir tmp;
    FileSystem& fs = RealFileSystem();
    const auto idOf = [&](const std::string& path) {
        const auto info = fs.FindTarget(path);
        return FolderId{info->device, info->inode};
    };
    const std::string a = tmp.MakeFolder("a"), b = tmp.MakeFolder("b");
    RunFolders folders(fs, 1);
    const std::uint32_t first = folders.Add(a, idOf(a));
    const std::uint32_t second = folders.Add(b, idOf(b));
    EXPECT_EQ(folders.Add(a, idOf(a)), first);
    EXPECT_NE(folders.Add(a, idOf(b)), first);
    int error = 0;
    for (int round = 0; round < 3; ++round) {
        for (const std::uint32_t folder : {first, second}) {
            const FolderHandle* handle = folders.Open(folder, &error);
            ASSERT_NE(handle, nullptr);
            EXPECT_EQ(handle->Path(), folders.PathOf(folder));
        }
    }
    tmp.MakeFile("b/x", "x");
    ASSERT_TRUE(fs.MoveWithin(*folders.Open(second, &error), "x", "y").Ok());
    EXPECT_EQ(tmp.Names("b"), (Names{"y"}));

    const std::string aside = tmp / "aside";
    ASSERT_EQ(std::rename(b.c_str(), aside.c_str()), 0);
    ASSERT_EQ(folders.Open(first, &error) != nullptr, true);  // b's handle is closed now
    EXPECT_EQ(folders.Open(second, &error), nullptr);
    EXPECT_EQ(error, ENOENT);
    ASSERT_EQ(std::rename(aside.c_str(), b.c_str()), 0);
    EXPECT_EQ(folders.Open(second, &error), nullptr);
}

}  // namespace
}  // namespace morvane::test
