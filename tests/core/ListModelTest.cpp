#include <gtest/gtest.h>

#include "core/TestRows.h"
#include "model/ListModel.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

// Records which cells observers were told about.
struct CellRecorder : ListModelObserver {
    void CellsChanged(int firstRow, int lastRow, int, int) override {
        changes.push_back({firstRow, lastRow});
    }
    std::vector<std::pair<int, int>> changes;
};

TEST(ListModelTest, ErrorCellShowsTheLabelsOfTheSetBitsInBitOrder) {
    EXPECT_EQ(ErrorCellText(0), "");
    EXPECT_EQ(ErrorCellText(ErrBlank | ErrRenameTest), "空白 | 排他 | ");
    EXPECT_EQ(ErrorCellText(0x7F), "空白 | 重複 | 禁止 | 既存 | 不換 | 排他 | 長さ | ");
    EXPECT_EQ(ErrorCellText(ErrExists), "既存 | ");

    test::TempDir dir;
    ListModel list;
    test::AppendFileRow(list, dir.MakeFile("a.txt"));
    test::AppendFileRow(list, dir.MakeFile("b.txt"));
    CellRecorder recorder;
    list.AddObserver(&recorder);

    list.EntryAt(1)->errors = 0x21;
    list.RefreshErrorColumn(1);
    EXPECT_EQ(list.Cell(1, ColError), "空白 | 排他 | ");
    EXPECT_EQ(list.Cell(0, ColError), "");
    ASSERT_EQ(recorder.changes.size(), 1u);
    EXPECT_EQ(recorder.changes[0], std::make_pair(1, 1));

    list.EntryAt(1)->errors = 0;
    list.RefreshErrorColumn(1);
    EXPECT_EQ(list.Cell(1, ColError), "");
    EXPECT_EQ(recorder.changes.size(), 2u);
    list.RemoveObserver(&recorder);
}

TEST(ListModelTest, RowNumberOfReadsTheRowCellNotThePosition) {
    test::TempDir dir;
    ListModel list;
    for (const char* name : {"a", "b", "c"})
        test::AppendFileRow(list, dir.MakeFile(name));
    list.RenumberRows();
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(list.RowNumberOf(r), r + 1);
        EXPECT_EQ(list.EntryAt(r)->row, r);
    }
    // While the row lock holds, the cells keep the text file's line numbers.
    list.SetCell(1, ColRowNumber, "42");
    EXPECT_EQ(list.RowNumberOf(1), 42);
    list.SetCell(1, ColRowNumber, "7abc");
    EXPECT_EQ(list.RowNumberOf(1), 7);
    list.SetCell(1, ColRowNumber, "");
    EXPECT_EQ(list.RowNumberOf(1), 0);
}

TEST(ListModelTest, RemoveRowUnlinksOnlyThatEntryAndRenumbersNothing) {
    test::TempDir dir;
    ListModel list;
    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c", "d"})
        paths.push_back(dir.MakeFile(name));
    for (const auto& p : paths)
        test::AppendFileRow(list, p);

    list.RemoveRow(1);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Cell(1, ColCurrentName), "c");
    // Callers rewrite row fields and cells; RemoveRow leaves them.
    EXPECT_EQ(list.EntryAt(1)->row, 2);
    EXPECT_EQ(list.Cell(1, ColRowNumber), "3");
    EXPECT_EQ(list.CurrentPathIndex().Find(paths[1]), nullptr);
    EXPECT_EQ(list.NewPathIndex().Find(paths[1]), nullptr);
    EXPECT_EQ(list.CurrentPathIndex().Find(paths[2]), list.EntryAt(1));
    EXPECT_EQ(list.CurrentPathIndex().CountEntries(), 3u);
    EXPECT_TRUE(list.CurrentPathIndex().IsConsistent());
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());

    list.RemoveAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.CurrentPathIndex().CountEntries(), 0u);
    EXPECT_EQ(list.NewPathIndex().CountEntries(), 0u);
}

}  // namespace
}  // namespace morvane
