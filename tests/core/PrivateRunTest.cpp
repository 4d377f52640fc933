// The rename engine on a list of an operation's own: the user's list is not renamed, and its
// rows follow the files the run moved.

#include <gtest/gtest.h>

#include "core/RenameFixture.h"
#include "core/TestRows.h"
#include "ops/rename/RenameCommand.h"
#include "rules/Validation.h"

namespace morvane {
namespace {

using PrivateRunTest = test::RenameFixture;

TEST_F(PrivateRunTest, OnlyThePrivateRowsMoveAndTheUserRowsFollowTheirFiles) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("sub/c.txt", "C");
    dir.MakeFile("other.txt", "O");
    // The user's list: the two files the private run moves (one of them through its folder)
    // and one with a new name of its own, which must not be renamed by that run.
    const int userA = Register("a.txt");
    const int userC = Register("sub/c.txt");
    const int userOther = Register("other.txt");
    validation.SetNewName(userOther, "mine.txt");
    ASSERT_EQ(list.RowCount(), 3);

    ListModel rows;
    Validation rules(rows, fs, log);
    rules.SetNewName(test::AppendFileRow(rows, dir / "a.txt"), "z.txt");
    rules.SetNewName(test::AppendFileRow(rows, dir / "sub"), "sub2");

    const RenameRecord record = renamer.RunOnList(rows, RunKind::Rename, {});
    EXPECT_TRUE(record.ran);
    EXPECT_TRUE(record.left.empty());
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"other.txt", "sub2", "z.txt"}));
    EXPECT_EQ(dir.Names("sub2"), std::vector<std::string>{"c.txt"});
    EXPECT_EQ(rows.RowCount(), 2);  // the caller's list is the caller's to clear

    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Row(userA).entry.currentKey, dir / "z.txt");
    EXPECT_EQ(list.Cell(userA, ColCurrentName), "z.txt");
    EXPECT_FALSE(list.Row(userA).entry.Moves());  // not to be renamed back
    EXPECT_EQ(list.Row(userC).entry.currentKey, dir / "sub2/c.txt");
    EXPECT_EQ(list.Cell(userC, ColDirectory), dir / "sub2/");
    EXPECT_EQ(list.Row(userOther).entry.NewPath(), dir / "mine.txt");
    EXPECT_EQ(list.Row(userOther).entry.errors, 0u);
    EXPECT_TRUE(list.IsConsistent());
    EXPECT_TRUE(rows.IsConsistent());
}

TEST_F(PrivateRunTest, AUserRowWhoseWishedPathTheRunFreedIsCheckedAgain) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    Register("a.txt");
    const int userB = Register("b.txt");
    validation.SetNewName(userB, "a.txt");  // held by a row that stays where it is
    ASSERT_NE(list.Row(userB).entry.errors, 0u);

    ListModel rows;
    Validation rules(rows, fs, log);
    rules.SetNewName(test::AppendFileRow(rows, dir / "a.txt"), "z.txt");
    renamer.RunOnList(rows, RunKind::Rename, {});
    EXPECT_EQ(list.Row(userB).entry.errors, 0u);
    EXPECT_EQ(list.Cell(userB, ColError), "");
    EXPECT_TRUE(list.IsConsistent());
}

}  // namespace
}  // namespace morvane
