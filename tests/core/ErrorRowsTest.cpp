// The rows in error: their count, kept as error cells change, and F8's way from one to the
// next.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RowsFixture.h"
#include "ops/rows/ErrorRows.h"
#include "ops/rows/RowOrder.h"

namespace morvane {
namespace {

class ErrorRowsTest : public ::testing::Test, protected test::RowsFixture {
protected:
    // Rows r0.txt … r{n-1}.txt in one folder.
    void AddRows(int n) {
        for (int i = 0; i < n; ++i)
            AddRow("r" + std::to_string(i) + ".txt");
    }
    // Counted the slow way, for comparison.
    int Scanned() const {
        int n = 0;
        for (int row = 0; row < list.RowCount(); ++row)
            n += list.Cell(row, ColError).empty() ? 0 : 1;
        return n;
    }
    void ExpectCount(int expected) {
        EXPECT_EQ(list.ErrorRowCount(), expected);
        EXPECT_EQ(Scanned(), expected);
        EXPECT_TRUE(list.IsConsistent());
    }

    ErrorRows errorRows{list, host};
};

TEST_F(ErrorRowsTest, TheCountFollowsNamesAsTheyGoWrongAndRight) {
    AddRows(5);
    ExpectCount(0);
    validation.SetNewName(1, "");
    ExpectCount(1);
    validation.SetNewName(2, "a/b");
    ExpectCount(2);
    validation.SetNewName(4, "");
    ExpectCount(3);
    validation.SetNewName(2, "fine.txt");
    ExpectCount(2);
    list.RemoveRow(4);
    ExpectCount(1);
    list.RemoveRows({0, 1});
    ExpectCount(0);
    validation.SetNewName(0, "");
    ExpectCount(1);
    list.RemoveAllRows();
    ExpectCount(0);
}

TEST_F(ErrorRowsTest, ManyScatteredRowsRemovedAtOnceLeaveTheRightCount) {
    AddRows(300);
    for (int row = 0; row < 300; row += 3)
        validation.SetNewName(row, "");
    ExpectCount(100);
    std::vector<int> everyOther;  // more runs than one removal each: removed in one pass
    for (int row = 0; row < 300; row += 2)
        everyOther.push_back(row);
    list.RemoveRows(everyOther);
    ExpectCount(50);
}

TEST_F(ErrorRowsTest, NextAndPreviousWrapRoundAndSelectOnlyTheRowInError) {
    AddRows(6);
    EXPECT_EQ(list.NextErrorRow(-1, true), -1);
    validation.SetNewName(1, "");
    validation.SetNewName(4, "");
    list.SetSelection({0, 2, 3});
    list.SetFocusRow(2);
    errorRows.GoToNext(true);
    EXPECT_EQ(list.FocusRow(), 4);
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{4});
    errorRows.GoToNext(true);  // round to the top
    EXPECT_EQ(list.FocusRow(), 1);
    errorRows.GoToNext(false);  // and back round to the bottom
    EXPECT_EQ(list.FocusRow(), 4);
    errorRows.GoToNext(false);
    EXPECT_EQ(list.FocusRow(), 1);
    list.SetFocusRow(5);
    errorRows.GoToFirst();
    EXPECT_EQ(list.FocusRow(), 1);
    // The only row in error is found from itself too.
    validation.SetNewName(4, "r4.txt");
    errorRows.GoToNext(true);
    EXPECT_EQ(list.FocusRow(), 1);
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{1});
}

TEST_F(ErrorRowsTest, SortingByTheErrorColumnPutsRowsInErrorFirstBothWays) {
    AddRows(5);
    validation.SetNewName(1, "");     // 空白
    validation.SetNewName(3, "a/b");  // 禁止
    RowOrder order{list, host, rowLock};
    const auto errorCells = [&] {
        std::vector<std::string> cells;
        for (int row = 0; row < list.RowCount(); ++row)
            cells.emplace_back(list.Cell(row, ColError));
        return cells;
    };
    order.SortByColumn(ColError);  // first click: descending (空 U+7A7A after 禁 U+7981)
    EXPECT_EQ(errorCells(), (std::vector<std::string>{"空白 | ", "禁止 | ", "", "", ""}));
    order.SortByColumn(ColError);
    EXPECT_EQ(errorCells(), (std::vector<std::string>{"禁止 | ", "空白 | ", "", "", ""}));
    ExpectCount(2);
}

}  // namespace
}  // namespace morvane
