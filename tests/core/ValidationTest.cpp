#include <unistd.h>

#include <cctype>
#include <cerrno>

#include <gtest/gtest.h>

#include "app/Command.h"
#include "core/RowsFixture.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/registration/Registration.h"
#include "ops/rows/RowNumbering.h"
#include "ops/rows/RowRemoval.h"
#include "rules/Validation.h"
#include "support/AppFixture.h"

namespace morvane::test {
namespace {

// The rules over rows made by the list's row builder, with the removal some tests use.
struct ValidationTest : ::testing::Test, RowsFixture {
    // The position of the row made for dir/relative.
    int RowOf(const std::string& relative) {
        const FileEntry* e = list.CurrentPathIndex().Find(dir / relative);
        return e == nullptr ? -1 : e->row;
    }
    std::uint32_t BitsOf(const std::string& relative) { return Bits(RowOf(relative)); }
    void Name(const std::string& file, const std::string& name) {
        validation.SetNewName(RowOf(file), name);
    }
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }
    // The forbidden-character line for a folder on a Linux file system.
    static std::string Forbidden(int number, const std::string& shown) {
        return FormatText(msg::kForbidden, number, shown.c_str()) +
               FormatText(msg::kRefusedHere, "/ と NUL と改行");
    }

    RowRemoval removal{list, validation, log, host, host, itemBreak};
};

TEST_F(ValidationTest, TrailingBlanksAndBlankNames) {
    const int a = AddRow("a.txt");
    const int b = AddRow("b.txt");
    validation.SetNewName(a, "new  ");
    EXPECT_EQ(list.Cell(a, ColNewName), "new");
    EXPECT_EQ(list.Cell(a, ColCharCount), "3");
    EXPECT_EQ(list.EntryAt(a)->NewPath(), dir / "new");
    EXPECT_TRUE(Logged(FormatText(msg::kTrailingBlanks, 1, "new")));
    EXPECT_EQ(Bits(a), 0u);

    // Only U+0020 is cut: an ideographic space stays and is no error.
    validation.SetNewName(b, "x\xE3\x80\x80");
    EXPECT_EQ(list.Cell(b, ColNewName), "x\xE3\x80\x80");
    EXPECT_EQ(Bits(b), 0u);

    // Blanks only: the warning with the empty name, then the blank error.
    log.ClearLog();
    validation.SetNewName(a, "   ");
    const std::string warning = FormatText(msg::kTrailingBlanks, 1, "");
    const std::string blank = FormatText(msg::kBlankName, 1);
    ASSERT_TRUE(Logged(warning));
    ASSERT_TRUE(Logged(blank));
    EXPECT_LT(Log().find(warning), Log().find(blank));
    EXPECT_EQ(Bits(a), ErrBlank);
    EXPECT_EQ(list.Cell(a, ColError), "空白 | ");
    // A second blank row in the same folder: both are duplicates too.
    validation.SetNewName(b, "");
    EXPECT_EQ(Bits(a), ErrBlank | ErrDuplicate);
    EXPECT_EQ(Bits(b), ErrBlank | ErrDuplicate);
    // Naming one again clears both without a message about the other.
    validation.SetNewName(b, "b.txt");
    EXPECT_EQ(Bits(a), ErrBlank);
    EXPECT_EQ(Bits(b), 0u);
}

TEST_F(ValidationTest, ForbiddenCharactersFollowTheFolderFileSystem) {
    // Folders under "win" are said to be on a file system made for Windows; asked once each.
    std::vector<std::string> asked;
    fs.charactersIn = [&](const std::string& folder) {
        asked.push_back(folder);
        return folder.find("/win") != std::string::npos ? NameCharacters::Windows
                                                        : NameCharacters::Posix;
    };
    dir.MakeFolder("win");
    const int a = AddRow("a.txt");
    const int w = AddRow("win/w.txt");
    const std::string nul("a\0b", 3);
    const std::vector<std::string> always = {"a/b", "line\nbreak", "carriage\rreturn", nul};
    const std::vector<std::string> windowsOnly = {
        "12:30 lunch.jpg", "a\tb", "a\"b", "a*b", "a<b", "a>b", "a?b", "a\\b", "a|b", "\x01odd"};
    const auto check = [&](int row, const std::string& name, const std::string& message) {
        log.ClearLog();
        validation.SetNewName(row, name);
        EXPECT_EQ(Bits(row), message.empty() ? 0u : ErrForbidden) << name;
        EXPECT_EQ(Log(), message.empty() ? "" : "\n" + message) << name;
    };
    const std::string windows = "\\ / : * ? \" < > | と制御文字";
    for (const std::string& name : always) {
        check(a, name, Forbidden(1, name));
        check(w, name,
              FormatText(msg::kForbidden, 2, name.c_str()) +
                  FormatText(msg::kRefusedHere, windows.c_str()));
    }
    for (const std::string& name : windowsOnly) {
        check(a, name, "");
        check(w, name,
              FormatText(msg::kForbidden, 2, name.c_str()) +
                  FormatText(msg::kRefusedHere, windows.c_str()));
    }
    for (const char* good : {"a;b", "a=b", "a[b]", "日本語.txt"}) {
        check(a, good, "");
        check(w, good, "");
    }
    EXPECT_EQ(asked, (std::vector<std::string>{dir.path() + "/", dir / "win/"}));
}

TEST_F(ValidationTest, UnregisteredFileAtTheNewPath) {
    const int a = AddRow("a.txt");
    dir.MakeFile("Taken.txt");
    validation.SetNewName(a, "Taken.txt");
    EXPECT_EQ(Bits(a), ErrExists);
    EXPECT_TRUE(Logged(FormatText(msg::kExists, 1, (dir / "Taken.txt").c_str())));
    // Case matters on Linux: "taken.txt" is a free name here.
    validation.SetNewName(a, "taken.txt");
    EXPECT_EQ(Bits(a), 0u);
    // Blank keeps the bit it had, and the existing-file check is skipped.
    validation.SetNewName(a, "Taken.txt");
    validation.SetNewName(a, "");
    EXPECT_EQ(Bits(a), ErrBlank | ErrExists);
}

TEST_F(ValidationTest, ABatchFindsEveryFileInTheWayHoweverItsFolderIsRead) {
    // Enough rows of one folder that the batch reads the folder instead of each new name.
    std::vector<int> rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back(AddRow("f" + std::to_string(i)));
    dir.MakeFile("g5");
    dir.MakeFile("g30");
    ASSERT_EQ(symlink("nowhere", (dir / "g20").c_str()), 0);  // a dangling link takes its name
    const auto inTheWay = [&](const std::string& prefix) {
        std::vector<std::string> names;
        std::vector<NewName> batch;
        for (int i = 0; i < 40; ++i)
            names.push_back(prefix + std::to_string(i));
        for (int i = 0; i < 40; ++i)
            batch.emplace_back(rows[i], names[i]);
        validation.SetNewNames(batch, NameSource::Row);
        std::vector<int> found;
        for (int i = 0; i < 40; ++i) {
            if ((Bits(rows[i]) & ErrExists) != 0)
                found.push_back(i);
        }
        return found;
    };
    const std::vector<int> expected{5, 20, 30};
    EXPECT_EQ(inTheWay("g"), expected);
    // A folder that cannot be listed is asked name by name.
    fs.failListFolder = [](const std::string&) { return EACCES; };
    EXPECT_EQ(inTheWay("g"), expected);
    fs.failListFolder = nullptr;
    // A file system that finds a name in any letter case: "G5" is taken by "g5", though the
    // listing does not hold it.
    fs.adjustFind = [](const std::string& path, std::optional<FileInfo>& info) {
        std::string lower = path;
        for (std::size_t i = lower.rfind('/') + 1; i < lower.size(); ++i)
            lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
        if (!info)
            info = RealFileSystem().Find(lower);
    };
    EXPECT_EQ(inTheWay("G"), expected);
}

TEST_F(ValidationTest, CaseOnlyChangeIsAMoveAndFindsNoCollisionOnItsOwnFile) {
    const int a = AddRow("a.txt");
    validation.SetNewName(a, "A.txt");
    EXPECT_TRUE(list.EntryAt(a)->Moves());
    EXPECT_EQ(Bits(a), 0u);
    // On a case-insensitive file system the new name finds the row's own file.
    fs.adjustFind = [this](const std::string& path, std::optional<FileInfo>& info) {
        if (path == dir / "B.txt")
            info = fs.Find(dir / "b.txt");
    };
    const int b = AddRow("b.txt");
    validation.SetNewName(b, "B.txt");
    EXPECT_EQ(Bits(b), 0u);
}

TEST_F(ValidationTest, DuplicatesNameTheEarlierLineFirst) {
    for (const char* f : {"r1", "r2", "r3", "r4", "r5"})
        AddRow(f);
    validation.SetNewName(1, "same");
    validation.SetNewName(4, "same");
    EXPECT_TRUE(Logged(FormatText(msg::kDuplicate, 2, 5)));
    EXPECT_EQ(Bits(1), ErrDuplicate);
    EXPECT_EQ(Bits(4), ErrDuplicate);
    log.ClearLog();
    validation.SetNewName(4, "free");
    EXPECT_EQ(Bits(1), 0u);
    EXPECT_EQ(Bits(4), 0u);
    EXPECT_EQ(Log(), "");  // cleared silently
    // A row that keeps its name collides with a row that wants it.
    validation.SetNewName(0, "r3");
    EXPECT_EQ(Bits(0), ErrDuplicate);
    EXPECT_EQ(Bits(2), ErrDuplicate);
    // Three rows on one name: releasing one leaves the other two marked.
    validation.SetNewName(3, "r3");
    validation.SetNewName(0, "elsewhere");
    EXPECT_EQ(Bits(2), ErrDuplicate);
    EXPECT_EQ(Bits(3), ErrDuplicate);
}

TEST_F(ValidationTest, ABatchOverSomeRowsKeepsThePartnersOutsideItRight) {
    for (const char* f : {"r1", "r2", "r3", "r4"})
        AddRow(f);
    // Rows 1 and 2 join the name row 0 keeps; row 3 has no part in the batch.
    const NewName join[] = {{2, "r1"}, {1, "r1  "}};
    validation.SetNewNames(join, NameSource::Row);
    EXPECT_EQ(Bits(0), ErrDuplicate);
    EXPECT_EQ(Bits(1), ErrDuplicate);
    EXPECT_EQ(Bits(2), ErrDuplicate);
    // In order: the names are set, then checked.
    EXPECT_EQ(Log(), "\n" + FormatText(msg::kTrailingBlanks, 2, "r1") + "\n" +
                         FormatText(msg::kDuplicate, 2, 3) + "\n" +
                         FormatText(msg::kDuplicate, 3, 2));
    // Both leave: row 0 is alone again, though the batch never checks it.
    log.ClearLog();
    const NewName leave[] = {{1, "x/y"}, {2, "free"}, NewName::Keep(3)};
    validation.SetNewNames(leave, NameSource::TextFile);
    EXPECT_EQ(Bits(0), 0u);
    EXPECT_EQ(Bits(1), ErrForbidden);
    EXPECT_EQ(Bits(2), 0u);
    // The text file's messages: list position, and the new path.
    EXPECT_EQ(Log(), "\n" + Forbidden(2, dir / "x/y"));
}

TEST_F(ValidationTest, SwapRingJoinedAndLeftByAThirdRow) {
    AddRow("A");
    AddRow("B");
    AddRow("C");
    Name("A", "B");
    Name("B", "A");
    EXPECT_EQ(BitsOf("A"), 0u);
    EXPECT_EQ(BitsOf("B"), 0u);
    log.ClearLog();
    Name("C", "B");  // C joins A's new name
    EXPECT_EQ(BitsOf("A"), ErrDuplicate | ErrSwapBlocked);
    EXPECT_EQ(BitsOf("B"), ErrSwapBlocked);
    EXPECT_EQ(BitsOf("C"), ErrDuplicate | ErrSwapBlocked);
    EXPECT_TRUE(Logged(FormatText(msg::kSwapTarget, 3, "B")));
    log.ClearLog();
    Name("C", "free");
    EXPECT_EQ(BitsOf("A"), 0u);
    EXPECT_EQ(BitsOf("B"), 0u);
    EXPECT_EQ(BitsOf("C"), 0u);
    EXPECT_EQ(Log(), "");
}

TEST_F(ValidationTest, ChainBehindARowInError) {
    AddRow("A");
    AddRow("B");
    AddRow("C");
    Name("A", "bad/name");
    Name("B", "A");
    Name("C", "B");
    EXPECT_EQ(BitsOf("A"), ErrForbidden);
    EXPECT_EQ(BitsOf("B"), ErrSwapBlocked);
    EXPECT_EQ(BitsOf("C"), ErrSwapBlocked);
    // Mending A releases the whole chain.
    Name("A", "good");
    EXPECT_EQ(BitsOf("B"), 0u);
    EXPECT_EQ(BitsOf("C"), 0u);
}

TEST_F(ValidationTest, RemovingARowWhoseFileOthersWant) {
    AddRow("A");
    AddRow("B");
    AddRow("C");
    Name("B", "A");
    Name("C", "B");
    list.SetSelection({RowOf("A")});
    removal.RemoveSelectedRows();
    EXPECT_EQ(BitsOf("B"), ErrExists);
    EXPECT_EQ(BitsOf("C"), ErrSwapBlocked);
    // Named by B's line and the removed row's path, then again with B's own new path.
    EXPECT_TRUE(Logged(FormatText(msg::kExists, 2, (dir / "A").c_str())));
    EXPECT_TRUE(list.CurrentPathIndex().IsConsistent());
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());
}

// A saved swap: a wants e while e is an unregistered file, then e is registered and wants a.
TEST_F(ValidationTest, SwapLoadedInListFileOrderIsClean) {
    dir.MakeFile("e.txt");
    AddRow("a.txt");
    Name("a.txt", "e.txt");
    EXPECT_EQ(BitsOf("a.txt"), ErrExists);
    ASSERT_GE(AddRow("e.txt"), 0);
    Name("e.txt", "a.txt");
    EXPECT_EQ(BitsOf("a.txt"), 0u);
    EXPECT_EQ(BitsOf("e.txt"), 0u);
}

TEST_F(ValidationTest, RingOfThreeLoadedInListFileOrderIsClean) {
    dir.MakeFile("b");
    dir.MakeFile("c");
    AddRow("a");
    Name("a", "b");
    ASSERT_GE(AddRow("b"), 0);
    Name("b", "c");
    ASSERT_GE(AddRow("c"), 0);
    Name("c", "a");
    EXPECT_EQ(BitsOf("a"), 0u);
    EXPECT_EQ(BitsOf("b"), 0u);
    EXPECT_EQ(BitsOf("c"), 0u);
}

// A block must hold while the row it depends on still carries another error.
TEST_F(ValidationTest, BlockIsNotReleasedWhileTheOccupantStaysInError) {
    dir.MakeFile("e");
    AddRow("a");
    Name("a", "x/y");
    AddRow("b");
    Name("a", "e");
    Name("b", "a");
    // Only registration's rename test locks a row.
    Locations locations;
    BusyState busy;
    Registration registration{list, validation, fs,   log,  settings,  locations, host,
                              host, host,       host, busy, itemBreak, rowLock};
    fs.RefuseRenames();
    ASSERT_TRUE(registration.RegisterPath(dir / "e"));  // locked by the rename test
    fs.adjustRights = nullptr;
    EXPECT_EQ(BitsOf("e"), ErrRenameTest | ErrDuplicate);
    list.SetSelection({RowOf("e")});
    removal.RemoveSelectedRows();
    EXPECT_EQ(BitsOf("a"), ErrExists);
    EXPECT_EQ(BitsOf("b"), ErrSwapBlocked);
}

TEST_F(ValidationTest, F5NamesSelectedRowsByPosition) {
    for (int i = 0; i < 27; ++i)
        AddRow("f" + std::to_string(i));
    list.SetSelection({0, 9, 26});
    RowNumbering(list, validation).NumberSelectedRows();
    EXPECT_EQ(list.Cell(0, ColNewName), "00000000");
    EXPECT_EQ(list.Cell(9, ColNewName), "00000009");
    EXPECT_EQ(list.Cell(26, ColNewName), "0000001a");
    EXPECT_EQ(list.Cell(1, ColNewName), "f1");
    EXPECT_EQ(list.EntryAt(26)->NewKey(), dir / "0000001a");
}

// A rename run after the names were set goes through the whole program.
struct ValidationCommandTest : AppFixture, ::testing::Test {};

TEST_F(ValidationCommandTest, ANameLeftAsItWasKeepsItsTrailingBlank) {
    Add("report ", "content");
    Add("memo.txt");
    app.Log().ClearLog();
    app.Rules().SetNewName(RowOf("report "), "report ");
    EXPECT_EQ(app.List().Cell(RowOf("report "), ColNewName), "report ");
    EXPECT_EQ(Log(), "");
    app.Rules().SetNewName(RowOf("memo.txt"), "memo ");  // a changed name is still cut
    EXPECT_EQ(app.List().Cell(RowOf("memo.txt"), ColNewName), "memo");
    host.yesNoAnswers.push_back(true);
    app.Execute(Command::Rename);
    EXPECT_EQ(ReadFileText(dir / "report "), "content");
    EXPECT_TRUE(PathExists(dir / "memo"));
}

}  // namespace
}  // namespace morvane::test
