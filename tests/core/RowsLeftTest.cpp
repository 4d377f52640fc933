#include <cerrno>

#include "RoundTripFixture.h"
#include "ops/rename/MovedPaths.h"
#include "ops/rename/RenameCommand.h"
#include "ops/rename/RenameEngine.h"
#include "ops/rows/RowRemoval.h"
#include "ops/textfile/TextRoundTrip.h"

namespace morvane::test {
namespace {

// The text round trip and the rename command over one list.
class RowsLeftTest : public RoundTripFixture {
protected:
    RowsLeftTest() { places.journalDir = state / "morvane"; }

    void Rename() {
        host.yesNoAnswers.push_back(true);
        renamer.RenameAll();
    }
    std::string Files() { return dir / "files/"; }

    TempDir state;  // the journal folder lies in it
    RowRemoval removal{list, validation, log, host, host, itemBreak};
    RenameEngine engine{fs, log, host, host, itemBreak, places};
    RenameCommand renamer{list, validation, engine, removal, rowLock, host};
};

// Rows a run could not rename stay with their names and "行" numbers, point at their files
// where the run left them, and the still-locked text file renames them on the next run.
TEST_F(RowsLeftTest, UnrenamedRowsStayPointingAtTheirFilesAndTheLockedLinesStillReachThem) {
    AddFile("dir/");       // 1 -> album
    AddFile("dir/x.jpg");  // 2 -> y.jpg, refused once
    AddFile("a.txt");      // 3 -> b.txt
    AddFile("c.txt");      // 4 -> blank: in error
    AddFile("p.txt");      // 5 -> q.txt, stuck under its temporary name once
    AddFile("q.txt");      // 6 -> p.txt
    dir.MakeFile("files/p.txt", "P");
    roundTrip.ExportAndLock();
    SaveAndPoll("album\ny.jpg\nb.txt\n\nq.txt\np.txt\n");
    bool refuse = true;
    fs.failMove = [&](const std::string& from, const std::string& to) {
        if (!refuse)
            return 0;
        if (from == Files() + "dir/x.jpg")
            return EACCES;
        return from.find("]_p.txt") != std::string::npos && to == Files() + "q.txt" ? EROFS : 0;
    };
    Rename();

    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Cell(0, ColRowNumber), "2");
    EXPECT_EQ(list.Cell(0, ColDirectory), Files() + "album/");
    EXPECT_EQ(list.EntryAt(0)->currentKey, Files() + "album/x.jpg");
    EXPECT_EQ(list.EntryAt(0)->NewPath(), Files() + "album/y.jpg");
    EXPECT_EQ(list.Cell(1, ColRowNumber), "4");
    EXPECT_EQ(list.EntryAt(1)->errors, std::uint32_t{ErrBlank});
    EXPECT_EQ(list.Cell(2, ColRowNumber), "5");
    const std::string temporary(list.Cell(2, ColCurrentName));
    EXPECT_NE(temporary.find("[MORVANE]_p.txt"), std::string::npos);
    EXPECT_EQ(ReadFileText(Files() + temporary), "P");
    EXPECT_EQ(list.Cell(2, ColNewName), "q.txt");
    EXPECT_TRUE(list.CurrentPathIndex().IsConsistent());
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());

    // The user mends line 4 in the same file and runs again.
    SaveAndPoll("album\ny.jpg\nb.txt\nd.txt\nq.txt\np.txt\n");
    EXPECT_EQ(list.Cell(1, ColNewName), "d.txt");
    refuse = false;
    Rename();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(dir.Names("files"),
              (std::vector<std::string>{"album", "b.txt", "d.txt", "p.txt", "q.txt"}));
    EXPECT_EQ(dir.Names("files/album"), (std::vector<std::string>{"y.jpg"}));
    EXPECT_EQ(ReadFileText(Files() + "q.txt"), "P");
}

TEST(MovedPathsTest, FoldersAboveAPathAreLookedUpByTheirNamesAtTheStart) {
    // Deepest first: x/y/f stays, then x/y becomes x/z through a temporary name, then x
    // becomes w; and a swap of two files elsewhere.
    const MovedPaths moved({{"/r/x/y", "/r/x/t", true},
                            {"/r/x/t", "/r/x/z", true},
                            {"/r/x", "/r/w", false},
                            {"/r/a", "/r/t", true},
                            {"/r/b", "/r/a", false},
                            {"/r/t", "/r/b", true}});
    EXPECT_EQ(moved.Now("/r/x/y/f"), "/r/w/z/f");
    EXPECT_EQ(moved.Now("/r/x/t2"), "/r/w/t2");
    EXPECT_EQ(moved.Now("/r/a/f"), "/r/b/f");
    EXPECT_EQ(moved.Now("/r/q/f"), "/r/q/f");
}

}  // namespace
}  // namespace morvane::test
