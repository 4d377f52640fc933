#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "RenameFixture.h"
#include "ops/rename/Journal.h"

namespace morvane::test {
namespace {

using Names = std::vector<std::string>;

class RenameFailureTest : public RenameFixture {
protected:
    // A failed move's line, which ends in the reason the system gave.
    std::string Fatal(const char* format, const std::string& a, const std::string& b, int error) {
        return FormatText(format, (dir / a).c_str(), (dir / b).c_str(), std::strerror(error));
    }
    std::string Fatal(const char* format, const std::string& a, const std::string& b,
                      const std::string& c, int error) {
        return FormatText(format, (dir / a).c_str(), (dir / b).c_str(), (dir / c).c_str(),
                          std::strerror(error));
    }
    // The line of a run that left files under temporary names and its journal open.
    std::string KeptOpen() const {
        return "\n" + FormatText(msg::kStrandedKeptOpen,
                                 (state / ("morvane/" + renamer.LastJournal())).c_str());
    }
    bool Logged(const std::string& message) const {
        return Log().find("\n" + message) != std::string::npos;
    }
    int Attempts(const std::string& move) const {
        return static_cast<int>(std::count(moves.begin(), moves.end(), move));
    }
};

TEST_F(RenameFailureTest, CaseOnlyChangeIsCarriedOutOnDisk) {
    dir.MakeFile("a.txt", "lower");
    SetName(Register("a.txt"), "A.txt");
    Run();
    EXPECT_EQ(moves, (Names{"a.txt -> A.txt"}));
    EXPECT_EQ(dir.Names(), (Names{"A.txt"}));
    EXPECT_EQ(Content("A.txt"), "lower");
    EXPECT_EQ(Log(), CleanLog(1));
}

TEST_F(RenameFailureTest, CaseOnlyChangeOnCaseInsensitiveFileSystemGoesThroughATemporaryName) {
    dir.MakeFile("a.txt", "lower");
    dir.MakeFile("b.txt", "second");
    dir.MakeFile("c.txt", "third");
    SetName(Register("a.txt"), "A.txt");
    SetName(Register("b.txt"), "B.txt");
    SetName(Register("c.txt"), "C.txt");
    // Asked for "A.txt", the file system answers with "a.txt" itself, as a folding one does,
    // and refuses the direct no-replace move onto it.
    fs.adjustFind = [](const std::string& path, std::optional<FileInfo>& info) {
        std::string folded = path;
        for (auto i = folded.find_last_of('/'); i < folded.size(); ++i)
            folded[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(folded[i])));
        if (!info && folded != path)
            info = RealFileSystem().Find(folded);
    };
    fault = [](const std::string& from, const std::string& to) {
        const bool fromTemporary = from.find("[MORVANE]") != std::string::npos;
        if (!fromTemporary && (to == "A.txt" || to == "B.txt" || to == "C.txt"))
            return EEXIST;
        // "b": the new name cannot be taken and the file goes back; "c": it cannot go back
        // either and stays under the temporary name.
        if (fromTemporary && from.find("_b.txt") != std::string::npos && to == "B.txt")
            return EACCES;
        if (fromTemporary && from.find("_c.txt") != std::string::npos)
            return EACCES;
        return 0;
    };
    Run();

    EXPECT_EQ(moves, (Names{"c.txt -> C.txt", "c.txt -> 00000000[MORVANE]_c.txt",
                            "00000000[MORVANE]_c.txt -> C.txt", "00000000[MORVANE]_c.txt -> c.txt",
                            "b.txt -> B.txt", "b.txt -> 00000001[MORVANE]_b.txt",
                            "00000001[MORVANE]_b.txt -> B.txt", "00000001[MORVANE]_b.txt -> b.txt",
                            "a.txt -> A.txt", "a.txt -> 00000002[MORVANE]_a.txt",
                            "00000002[MORVANE]_a.txt -> A.txt",
                            // one more try at the end, its old name being free
                            "00000000[MORVANE]_c.txt -> c.txt"}));
    EXPECT_EQ(dir.Names(), (Names{"00000000[MORVANE]_c.txt", "A.txt", "b.txt"}));
    EXPECT_EQ(Content("A.txt"), "lower");
    EXPECT_EQ(Content("b.txt"), "second");
    EXPECT_EQ(Content("00000000[MORVANE]_c.txt"), "third");
    EXPECT_EQ(Log(),
              std::string("\n") + msg::kRenameStart + "\n" +
                  Fatal(msg::kPlaceFailed, "c.txt", "00000000[MORVANE]_c.txt", "C.txt", EACCES) +
                  "\n" + Fatal(msg::kMoveFailed, "b.txt", "B.txt", EACCES) + "\n" +
                  msg::kRenameEnd + KeptOpen() + Summary(1, 0, 2));
}

TEST_F(RenameFailureTest, FailedVacateLeavesTheFileAndTheRunGoesOn) {
    dir.MakeFile("other.txt", "other");
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("other.txt"), "renamed.txt");  // handled last: equal depth, first row
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    fault = [](const std::string& from, const std::string&) {
        return from == "a.txt" ? EACCES : 0;
    };
    Run();

    // b made room but its place is still held by a, which could not move aside: b goes back.
    EXPECT_TRUE(Logged(Fatal(msg::kVacateFailed, "a.txt", "00000000[MORVANE]_a.txt", EACCES)));
    EXPECT_TRUE(Logged(Fatal(msg::kPutBack, "b.txt", "a.txt", EEXIST)));
    EXPECT_TRUE(Logged(Fatal(msg::kMoveFailed, "a.txt", "b.txt", EACCES)));
    EXPECT_EQ(Attempts("a.txt -> 00000000[MORVANE]_a.txt"), 1);
    EXPECT_EQ(dir.Names(), (Names{"a.txt", "b.txt", "renamed.txt"}));
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_EQ(Content("renamed.txt"), "other");
    EXPECT_EQ(Log().substr(Log().rfind(msg::kRenameEnd)),
              std::string(msg::kRenameEnd) + Summary(1, 0, 2));
    // The swap stays in the list, clean, to be tried again.
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Cell(0, ColNewName), "b.txt");
    EXPECT_EQ(list.Cell(1, ColNewName), "a.txt");
    EXPECT_EQ(list.Cell(1, ColRowNumber), "2");
    EXPECT_TRUE(list.Cell(0, ColError).empty());
}

TEST_F(RenameFailureTest, FailedPlaceLeavesTheFileUnderItsTemporaryOrCurrentName) {
    dir.MakeFile("other.txt", "other");
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    dir.MakeFile("c.txt", "C");
    SetName(Register("other.txt"), "renamed.txt");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    SetName(Register("c.txt"), "d.txt");
    fault = [](const std::string& from, const std::string& to) {
        if (from == "00000000[MORVANE]_a.txt" && to == "b.txt")
            return EROFS;
        return from == "c.txt" ? ENAMETOOLONG : 0;
    };
    Run();

    // b has already taken a's old name, so a cannot go back.
    EXPECT_EQ(Attempts("00000000[MORVANE]_a.txt -> a.txt"), 1);
    EXPECT_TRUE(
        Logged(Fatal(msg::kPlaceFailed, "a.txt", "00000000[MORVANE]_a.txt", "b.txt", EROFS)));
    EXPECT_TRUE(Logged(Fatal(msg::kMoveFailed, "c.txt", "d.txt", ENAMETOOLONG)));
    EXPECT_EQ(Log().find("一時ファイル名"), std::string::npos);  // every vacate worked
    EXPECT_EQ(dir.Names(), (Names{"00000000[MORVANE]_a.txt", "a.txt", "c.txt", "renamed.txt"}));
    EXPECT_EQ(Content("00000000[MORVANE]_a.txt"), "A");
    EXPECT_EQ(Content("a.txt"), "B");
    EXPECT_EQ(Content("c.txt"), "C");
    EXPECT_EQ(Content("renamed.txt"), "other");
    EXPECT_EQ(Attempts("c.txt -> d.txt"), 1);
}

TEST_F(RenameFailureTest, AFileThatCannotTakeItsNewNameGoesBackToItsOldOne) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    // b is placed first; once it is back, a finds b's name taken and goes back too.
    fault = [](const std::string& from, const std::string& to) {
        return from == "00000001[MORVANE]_b.txt" && to == "a.txt" ? ENOSPC : 0;
    };
    Run();

    EXPECT_EQ(dir.Names(), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_EQ(Log(), std::string("\n") + msg::kRenameStart + "\n" +
                         Fatal(msg::kPutBack, "b.txt", "a.txt", ENOSPC) + "\n" +
                         Fatal(msg::kPutBack, "a.txt", "b.txt", EEXIST) + "\n" + msg::kRenameEnd +
                         Summary(0, 0, 2));
}

TEST_F(RenameFailureTest, AFileThatCannotGoBackEitherStaysUnderItsTemporaryName) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    fault = [](const std::string& from, const std::string&) {
        return from == "00000001[MORVANE]_b.txt" ? ENOSPC : 0;
    };
    Run();

    EXPECT_EQ(Attempts("00000001[MORVANE]_b.txt -> b.txt"), 1);
    EXPECT_EQ(dir.Names(), (Names{"00000001[MORVANE]_b.txt", "b.txt"}));
    EXPECT_EQ(Content("00000001[MORVANE]_b.txt"), "B");
    EXPECT_EQ(Content("b.txt"), "A");
    EXPECT_EQ(Log(),
              std::string("\n") + msg::kRenameStart + "\n" +
                  Fatal(msg::kPlaceFailed, "b.txt", "00000001[MORVANE]_b.txt", "a.txt", ENOSPC) +
                  "\n" + msg::kRenameEnd + KeptOpen() + Summary(1, 0, 1));
    // Kept open for the next start, which offers to put it back.
    EXPECT_EQ(ListJournals(fs, state / "morvane")[0].state, JournalState::Running);
}

// Both halves of a swap fail; the one that could not go back at once (its way back failed
// too) gets one more try at the end of the run, and the journal is closed as usual.
TEST_F(RenameFailureTest, AFileLeftUnderATemporaryNameGetsOneMoreTryAtTheEnd) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    int wayBack = 0;
    fault = [&wayBack](const std::string& from, const std::string& to) {
        if (from == "00000001[MORVANE]_b.txt" && to == "a.txt")
            return EACCES;
        if (from == "00000000[MORVANE]_a.txt" && to == "a.txt" && wayBack++ == 0)
            return EACCES;
        return 0;
    };
    Run();

    EXPECT_EQ(Attempts("00000000[MORVANE]_a.txt -> a.txt"), 2);
    EXPECT_EQ(dir.Names(), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_TRUE(Logged(Fatal(msg::kPutBack, "a.txt", "b.txt", EEXIST))) << Log();
    EXPECT_EQ(ListJournals(fs, state / "morvane")[0].state, JournalState::Done);
    EXPECT_EQ(list.RowCount(), 2);  // both stay to be tried again
}

TEST_F(RenameFailureTest, FileCreatedAtTheTargetAfterValidationIsNotOverwritten) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("keep.txt", "K");
    SetName(Register("a.txt"), "new.txt");
    SetName(Register("keep.txt"), "kept.txt");
    ASSERT_TRUE(list.Cell(0, ColError).empty());
    fs.beforeMove = [this](const std::string&, const std::string& to) {
        if (to == dir / "new.txt" && !PathExists(to))
            dir.MakeFile("new.txt", "someone else's");
    };
    Run();

    EXPECT_TRUE(Logged(Fatal(msg::kMoveFailed, "a.txt", "new.txt", EEXIST)));
    EXPECT_EQ(Attempts("a.txt -> new.txt"), 1);
    EXPECT_EQ(dir.Names(), (Names{"a.txt", "kept.txt", "new.txt"}));
    EXPECT_EQ(Content("new.txt"), "someone else's");
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("kept.txt"), "K");
}

TEST_F(RenameFailureTest, OnlyBusyFailuresAreRetried) {
    dir.MakeFile("busy.txt", "busy");
    dir.MakeFile("stuck.txt", "stuck");
    dir.MakeFile("denied.txt", "denied");
    SetName(Register("busy.txt"), "free.txt");
    SetName(Register("stuck.txt"), "loose.txt");
    SetName(Register("denied.txt"), "allowed.txt");
    engine.retry.delayMs = 1;
    int busyLeft = 3;
    fault = [&busyLeft](const std::string& from, const std::string&) {
        if (from == "busy.txt")
            return busyLeft-- > 0 ? EBUSY : 0;
        if (from == "stuck.txt")
            return ETXTBSY;
        return from == "denied.txt" ? EACCES : 0;
    };
    Run();

    EXPECT_EQ(Attempts("busy.txt -> free.txt"), 4);
    EXPECT_EQ(Attempts("stuck.txt -> loose.txt"), 255);
    EXPECT_EQ(Attempts("denied.txt -> allowed.txt"), 1);
    EXPECT_EQ(Log().find("busy.txt"), std::string::npos);
    EXPECT_TRUE(Logged(Fatal(msg::kMoveFailed, "stuck.txt", "loose.txt", ETXTBSY)));
    EXPECT_TRUE(Logged(Fatal(msg::kMoveFailed, "denied.txt", "allowed.txt", EACCES)));
    EXPECT_EQ(dir.Names(), (Names{"denied.txt", "free.txt", "stuck.txt"}));
    EXPECT_EQ(Content("free.txt"), "busy");
    EXPECT_EQ(Content("stuck.txt"), "stuck");
    EXPECT_EQ(Content("denied.txt"), "denied");
}

TEST_F(RenameFailureTest, AMoveTheFileSystemRefusesLeavesTheFileAndSaysWhy) {
    // Registered where the server decides: nothing was tried then, so the refusal comes now.
    fs.DecideRenamesOnTheirOwn();
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "new-a.txt");
    SetName(Register("b.txt"), "new-b.txt");
    ASSERT_TRUE(list.Cell(0, ColError).empty());
    EXPECT_EQ(fs.moveCalls, 0);
    fault = [](const std::string& from, const std::string&) { return from == "a.txt" ? EPERM : 0; };
    Run();

    EXPECT_EQ(Log(), LogSaying(Fatal(msg::kMoveFailed, "a.txt", "new-a.txt", EPERM), 1, 0, 1));
    EXPECT_EQ(dir.Names(), (Names{"a.txt", "new-b.txt"}));
    EXPECT_EQ(Content("a.txt"), "A");
    // The row stays, clean, to be tried again.
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.Cell(0, ColNewName), "new-a.txt");
    EXPECT_TRUE(list.Cell(0, ColError).empty());
}

}  // namespace
}  // namespace morvane::test
