// The rename engine on a list of an operation's own: the user's list is not renamed, and its
// rows follow the files the run moved.

#include <gtest/gtest.h>

#include "core/TestRows.h"
#include "ops/rename/RenameCommand.h"
#include "rules/Validation.h"
#include "support/AppFixture.h"

namespace morvane {
namespace {

struct PrivateRunTest : ::testing::Test, test::AppFixture {};

TEST_F(PrivateRunTest, OnlyThePrivateRowsMoveAndTheUserRowsFollowTheirFiles) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("sub/c.txt", "C");
    dir.MakeFile("other.txt", "O");
    // The user's list: the two files the private run moves (one of them through its folder)
    // and one with a new name of its own, which must not be renamed by that run.
    const int userA = Add("a.txt");
    const int userC = Add("sub/c.txt");
    const int userOther = Add("other.txt");
    app.Rules().SetNewName(userOther, "mine.txt");
    ASSERT_EQ(app.List().RowCount(), 3);

    ListModel rows;
    Validation rules(rows, fs, app.Log());
    rules.SetNewName(test::AppendFileRow(rows, dir / "a.txt"), "z.txt");
    rules.SetNewName(test::AppendFileRow(rows, dir / "sub"), "sub2");

    const RenameRecord record = app.Renamer().RunOnList(rows, RunKind::Rename, {});
    EXPECT_TRUE(record.ran);
    EXPECT_TRUE(record.left.empty());
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"other.txt", "sub2", "z.txt"}));
    EXPECT_EQ(dir.Names("sub2"), std::vector<std::string>{"c.txt"});
    EXPECT_EQ(rows.RowCount(), 2);  // the caller's list is the caller's to clear

    ASSERT_EQ(app.List().RowCount(), 3);
    EXPECT_EQ(app.List().Row(userA).entry.currentKey, dir / "z.txt");
    EXPECT_EQ(app.List().Cell(userA, ColCurrentName), "z.txt");
    EXPECT_FALSE(app.List().Row(userA).entry.Moves());  // not to be renamed back
    EXPECT_EQ(app.List().Row(userC).entry.currentKey, dir / "sub2/c.txt");
    EXPECT_EQ(app.List().Cell(userC, ColDirectory), dir / "sub2/");
    EXPECT_EQ(app.List().Row(userOther).entry.NewPath(), dir / "mine.txt");
    EXPECT_EQ(app.List().Row(userOther).entry.errors, 0u);
    EXPECT_TRUE(app.List().IsConsistent());
    EXPECT_TRUE(rows.IsConsistent());
}

TEST_F(PrivateRunTest, AUserRowWhoseWishedPathTheRunFreedIsCheckedAgain) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    Add("a.txt");
    const int userB = Add("b.txt");
    app.Rules().SetNewName(userB, "a.txt");  // held by a row that stays where it is
    ASSERT_NE(app.List().Row(userB).entry.errors, 0u);

    ListModel rows;
    Validation rules(rows, fs, app.Log());
    rules.SetNewName(test::AppendFileRow(rows, dir / "a.txt"), "z.txt");
    app.Renamer().RunOnList(rows, RunKind::Rename, {});
    EXPECT_EQ(app.List().Row(userB).entry.errors, 0u);
    EXPECT_EQ(app.List().Cell(userB, ColError), "");
    EXPECT_TRUE(app.List().IsConsistent());
}

}  // namespace
}  // namespace morvane
