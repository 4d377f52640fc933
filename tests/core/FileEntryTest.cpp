#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/TestRows.h"
#include "model/FileEntry.h"
#include "model/ListModel.h"

using namespace morvane;

TEST(FileEntryTest, TheNewPathIsKeptOnlyWhileItDiffersAndMayBeGivenAPartOfItself) {
    FileEntry e;
    e.currentKey = "/d/a.txt";
    EXPECT_FALSE(e.Moves());
    EXPECT_EQ(e.NewPath(), "/d/a.txt");

    e.AssignNewPath("/d/", "a long name.txt");
    EXPECT_TRUE(e.Moves());
    EXPECT_EQ(e.NewKey(), "/d/a long name.txt");
    // A cut of the row's own new name, as a trailing-blank or length cut passes it.
    const std::string_view own = std::string_view(e.NewPath()).substr(3, 6);
    e.AssignNewPath(std::string_view(e.NewPath()).substr(0, 3), own);
    EXPECT_EQ(e.NewPath(), "/d/a long");

    e.AssignNewPath("/d/", "a.txt");
    EXPECT_FALSE(e.Moves());
    EXPECT_EQ(e.NewPath(), "/d/a.txt");
}

TEST(FileEntryTest, ARowReadsItsFolderAndNamesFromItsPathsUntilGivenATextTheyDoNotHold) {
    ListModel list;
    test::AppendFileRow(list, "/d/sub/a.txt");
    EXPECT_EQ(list.Cell(0, ColDirectory), "/d/sub/");
    EXPECT_EQ(list.Cell(0, ColCurrentName), "a.txt");
    EXPECT_EQ(list.Cell(0, ColNewName), "a.txt");

    list.SetNewPath(0, "/d/sub/", "b.txt");
    EXPECT_TRUE(list.IsConsistent());
    list.SetCell(0, ColNewName, "b.txt");
    EXPECT_EQ(list.Row(0).cells.Get(ColNewName), "");  // read from the path, not kept
    EXPECT_EQ(list.Cell(0, ColNewName), "b.txt");

    // An empty new name the path does not hold stays empty, and the other cells stay too.
    list.SetCell(0, ColNewName, "");
    EXPECT_EQ(list.Cell(0, ColNewName), "");
    EXPECT_EQ(list.Cell(0, ColCurrentName), "a.txt");
    EXPECT_EQ(list.Cell(0, ColDirectory), "/d/sub/");
    list.RemoveAllRows();
}
