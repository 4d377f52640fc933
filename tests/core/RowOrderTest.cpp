#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/RowsFixture.h"
#include "core/TestRows.h"
#include "ops/rows/RowOrder.h"

namespace morvane {
namespace {

class RowOrderTest : public ::testing::Test, protected test::RowsFixture {
protected:
    // Appends a row named `name` (both name cells) with the given size text and icon.
    void AddRow(const std::string& name, const std::string& size = "0", int icon = 0) {
        const int position = test::AppendFileRow(list, "/d/" + name, icon);
        list.SetCell(position, ColSize, size);
        list.RenumberRows();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int r = 0; r < list.RowCount(); ++r)
            names.emplace_back(list.Cell(r, ColCurrentName));
        return names;
    }
    std::vector<std::string> RowCells() const {
        std::vector<std::string> cells;
        for (int r = 0; r < list.RowCount(); ++r)
            cells.emplace_back(list.Cell(r, ColRowNumber));
        return cells;
    }
    void ExpectRowFieldsArePositions() {
        for (int r = 0; r < list.RowCount(); ++r)
            EXPECT_EQ(list.EntryAt(r)->row, r);
    }

    RowOrder order{list, host, rowLock};
};

TEST(RowOrderSortKeyTest, NamesSortOrdinallyOnUtf16Units) {
    const auto less = [](std::string_view a, std::string_view b) {
        return Utf16SortKey(a) < Utf16SortKey(b);
    };
    EXPECT_TRUE(less("B", "a"));  // capitals before small letters
    EXPECT_FALSE(less("abc", "abc"));
    EXPECT_TRUE(less("ab", "abc"));
    // U+FF21 (full-width A) is one unit 0xFF21; U+1F600 starts with the surrogate 0xD83D,
    // so in UTF-16 order the emoji sorts first although its code point is larger.
    EXPECT_TRUE(less("\xF0\x9F\x98\x80", "\xEF\xBC\xA1"));
    EXPECT_FALSE(less("\xEF\xBC\xA1", "\xF0\x9F\x98\x80"));
}

TEST_F(RowOrderTest, MovingABlockUpTakesTheRowAboveBelowIt) {
    for (const char* name : {"r0", "r1", "r2", "r3", "r4", "r5"})
        AddRow(name);
    list.SetSelection({3, 4});
    order.MoveRowsUp();
    EXPECT_EQ(Names(), (std::vector<std::string>{"r0", "r1", "r3", "r4", "r2", "r5"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2, 3}));
    EXPECT_EQ(list.FocusRow(), 2);
    EXPECT_EQ(RowCells(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    ExpectRowFieldsArePositions();

    order.MoveRowsDown();
    EXPECT_EQ(Names(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{3, 4}));
    EXPECT_EQ(list.FocusRow(), 4);
    ExpectRowFieldsArePositions();
}

TEST_F(RowOrderTest, NothingMovesWhenASelectedRowIsAtTheEdge) {
    for (const char* name : {"r0", "r1", "r2", "r3", "r4", "r5"})
        AddRow(name);
    list.SetSelection({0, 5});
    list.SetFocusRow(5);
    order.MoveRowsUp();
    order.MoveRowsDown();
    EXPECT_EQ(Names(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 5}));
    EXPECT_EQ(list.FocusRow(), 5);

    list.SetSelection({});
    order.MoveRowsUp();  // nothing selected
    EXPECT_EQ(list.FocusRow(), 5);
}

TEST_F(RowOrderTest, MovesKeepTheRowNumbersWhileTheLockHolds) {
    for (const char* name : {"r0", "r1", "r2"})
        AddRow(name);
    SetRowLocked(true);
    list.SetSelection({2});
    order.MoveRowsUp();
    EXPECT_EQ(Names(), (std::vector<std::string>{"r0", "r2", "r1"}));
    EXPECT_EQ(RowCells(), (std::vector<std::string>{"1", "3", "2"}));
    ExpectRowFieldsArePositions();
}

TEST_F(RowOrderTest, HeaderClicksSortDescendingFirstAndNumbersAsNumbers) {
    AddRow("b", "10", 2);
    AddRow("A", "9", 1);
    AddRow("a", "100", 3);
    AddRow("Z", "", 1);

    order.SortByColumn(ColCurrentName);  // first click: larger text first
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a", "Z", "A"}));
    EXPECT_EQ(host.commitEditCalls, 1);
    order.SortByColumn(ColCurrentName);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "Z", "a", "b"}));
    EXPECT_EQ(RowCells(), (std::vector<std::string>{"1", "2", "3", "4"}));
    ExpectRowFieldsArePositions();

    order.SortByColumn(ColSize);  // descending first
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "A", "Z"}));
    order.SortByColumn(ColSize);  // 9 before 10 before 100; empty reads 0
    EXPECT_EQ(Names(), (std::vector<std::string>{"Z", "A", "b", "a"}));

    order.SortByColumn(ColIcon);  // the icon column starts ascending
    EXPECT_EQ(Names(), (std::vector<std::string>{"Z", "A", "b", "a"}));
    order.SortByColumn(ColIcon);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "Z", "A"}));
}

TEST_F(RowOrderTest, RowColumnSortsOnlyUnderTheLockAndTheLockKeepsNumbers) {
    for (const char* name : {"c", "a", "b"})
        AddRow(name);
    // Without the lock: nothing happens, but the flag still flips.
    order.SortByColumn(ColRowNumber);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_TRUE(order.sortAscending[ColRowNumber]);

    SetRowLocked(true);
    order.SortByColumn(ColCurrentName);  // descending, numbers stay with their rows
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(RowCells(), (std::vector<std::string>{"1", "3", "2"}));
    ExpectRowFieldsArePositions();
    // The flag flipped by the click without the lock: this click sorts ascending and brings
    // back the text file's order.
    order.SortByColumn(ColRowNumber);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(RowCells(), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(RowOrderTest, SelectionAndFocusFollowTheirRowsThroughASort) {
    for (const char* name : {"x", "y", "z"})
        AddRow(name);
    list.SetSelection({0});
    list.SetFocusRow(0);
    order.SortByColumn(ColCurrentName);  // z y x
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(list.FocusRow(), 2);
    EXPECT_EQ(list.Cell(2, ColCurrentName), "x");
}

}  // namespace
}  // namespace morvane
