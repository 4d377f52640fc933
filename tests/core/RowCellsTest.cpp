#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "core/TestRows.h"
#include "model/ListModel.h"
#include "model/RowCells.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

using Texts = std::array<std::string, ColumnCount>;

void ExpectTexts(const RowCells& cells, const Texts& expected, const std::string& step) {
    std::size_t total = 0;
    for (int c = 0; c < ColumnCount; ++c) {
        EXPECT_EQ(cells.Get(c), expected[static_cast<std::size_t>(c)])
            << "column " << c << " after " << step;
        total += expected[static_cast<std::size_t>(c)].size();
    }
    EXPECT_EQ(cells.Size(), total) << step;
    EXPECT_LE(cells.Size(), cells.Capacity()) << step;
}

Texts RegisteredFileTexts() {
    Texts t;
    t[ColCurrentName] = "report.final.TXT";
    t[ColNewName] = "report.final.TXT";
    t[ColCharCount] = "16";
    t[ColSize] = "5000000000";
    t[ColType] = "平文テキストドキュメント";
    t[ColModified] = "2023/11/14 22:13:20";
    t[ColRowNumber] = "1";
    t[ColDirectory] = "/home/user/docs/";
    t[ColExtension] = "TXT";
    t[ColAttributes] = "N";
    return t;
}

TEST(RowCellsTest, EmptyCellsTakeNoRoomAndAssignFillsEveryCell) {
    RowCells cells;
    cells.Set(ColNewName, "");
    EXPECT_EQ(cells.Capacity(), 0u);
    ExpectTexts(cells, Texts{}, "setting an empty text");

    Texts texts = RegisteredFileTexts();
    cells.Assign(texts);
    ExpectTexts(cells, texts, "assign");
    // The empty icon and error cells add nothing to the block.
    EXPECT_LT(cells.Capacity(), cells.Size() + 16);

    // Shorter texts are written into the same block.
    const char* before = cells.Get(ColIcon).data();
    texts[ColDirectory] = "/tmp/";
    texts[ColType] = "folder";
    cells.Assign(texts);
    ExpectTexts(cells, texts, "a shorter assign");
    EXPECT_EQ(cells.Get(ColIcon).data(), before);

    // From views too, including views of the row's own texts.
    std::array<std::string_view, ColumnCount> views{};
    views[ColCurrentName] = cells.Get(ColDirectory);
    views[ColNewName] = cells.Get(ColCurrentName);
    views[ColError] = "重複 | ";
    cells.Assign(views);
    Texts fromViews;
    fromViews[ColCurrentName] = "/tmp/";
    fromViews[ColNewName] = "report.final.TXT";
    fromViews[ColError] = "重複 | ";
    ExpectTexts(cells, fromViews, "an assign from its own views");

    cells.Assign(Texts{});
    EXPECT_EQ(cells.Capacity(), 0u);
    ExpectTexts(cells, Texts{}, "assigning empty texts");
}

TEST(RowCellsTest, SetReplacesOneTextAndLeavesTheOthers) {
    RowCells cells;
    Texts expected = RegisteredFileTexts();
    cells.Assign(expected);

    auto set = [&](int column, const std::string& text, const std::string& step) {
        cells.Set(column, text);
        expected[static_cast<std::size_t>(column)] = text;
        ExpectTexts(cells, expected, step);
    };
    set(ColNewName, "a much longer new name than before.txt", "growing a middle cell");
    set(ColNewName, "x", "shrinking it");
    set(ColCurrentName, "", "emptying the first cell");
    set(ColAttributes, "RHD", "growing the last cell");
    set(ColIcon, "first", "filling the first cell");
    set(ColAttributes, "", "emptying the last cell");

    // A text taken from the row itself, also overlapping the place it goes to.
    cells.Set(ColNewName, cells.Get(ColDirectory));
    expected[ColNewName] = expected[ColDirectory];
    ExpectTexts(cells, expected, "copying a cell of the same row");
    cells.Set(ColDirectory, cells.Get(ColDirectory).substr(1));
    expected[ColDirectory].erase(0, 1);
    ExpectTexts(cells, expected, "a cell from part of itself");

    // Emptied cell by cell, the row gives its block back.
    for (int c = 0; c < ColumnCount; ++c)
        cells.Set(c, "");
    EXPECT_EQ(cells.Capacity(), 0u);
    ExpectTexts(cells, Texts{}, "emptying every cell");

    // Moving hands the block over.
    cells.Set(ColSize, "12");
    RowCells other(std::move(cells));
    EXPECT_EQ(other.Get(ColSize), "12");
    EXPECT_EQ(cells.Capacity(), 0u);
    cells = std::move(other);
    EXPECT_EQ(cells.Get(ColSize), "12");
}

TEST(RowCellsTest, SmallChangesAreRewrittenInPlace) {
    RowCells cells;
    cells.Assign(RegisteredFileTexts());
    // A growth beyond the block leaves room for the next small change.
    cells.Set(ColIcon, std::string(cells.Capacity() - cells.Size() + 1, 'i'));
    EXPECT_GE(cells.Capacity(), cells.Size() + cells.Size() / 8);
    cells.Set(ColIcon, "");
    // From here on the longest error text, number and name fit, so nothing moves.
    const char* block = cells.Get(ColIcon).data();
    const std::size_t capacity = cells.Capacity();
    for (int i = 0; i < 100; ++i) {
        cells.Set(ColError, i % 2 == 0 ? "" : "空白 | 重複 | ");
        cells.Set(ColRowNumber, std::to_string(i * 1000));
        cells.Set(ColNewName, i % 3 == 0 ? "report.final.TXT" : "report.TXT");
    }
    EXPECT_EQ(cells.Get(ColIcon).data(), block);
    EXPECT_EQ(cells.Capacity(), capacity);
    EXPECT_EQ(cells.Get(ColError), "空白 | 重複 | ");
    EXPECT_EQ(cells.Get(ColRowNumber), "99000");
    EXPECT_EQ(cells.Get(ColNewName), "report.final.TXT");
    EXPECT_EQ(cells.Get(ColDirectory), "/home/user/docs/");
    EXPECT_EQ(cells.Get(ColIcon), "");
}

TEST(RowCellsTest, LongTextsBeyondSixteenBitOffsets) {
    // A directory of 32,000 UTF-16 units in three-byte characters, and a long name after it.
    std::string directory = "/";
    while (directory.size() < 96000)
        directory += "長";
    const std::string name(40000, 'n');
    Texts expected = RegisteredFileTexts();
    expected[ColDirectory] = directory;
    expected[ColCurrentName] = name;
    RowCells cells;
    cells.Assign(expected);
    ExpectTexts(cells, expected, "assigning long texts");

    cells.Set(ColExtension, "after the long ones");
    expected[ColExtension] = "after the long ones";
    ExpectTexts(cells, expected, "a change behind the long texts");

    // Replaced by short texts, the row does not keep the long texts' room.
    cells.Set(ColDirectory, "/d/");
    cells.Set(ColCurrentName, "n");
    expected[ColDirectory] = "/d/";
    expected[ColCurrentName] = "n";
    ExpectTexts(cells, expected, "shrinking the long texts");
    EXPECT_LT(cells.Capacity(), 1024u);
}

TEST(RowCellsTest, RandomEditsMatchTwelveStrings) {
    std::mt19937 rng(7);
    RowCells cells;
    Texts expected;
    for (int step = 0; step < 5000; ++step) {
        const int column = static_cast<int>(rng() % ColumnCount);
        // Mostly short texts, sometimes empty, now and then long.
        const std::size_t length = rng() % 4 == 0 ? 0 : rng() % 50 == 0 ? 2000 : rng() % 40;
        const std::string text(length, static_cast<char>('a' + step % 26));
        if (rng() % 100 == 0) {
            Texts all;
            for (auto& t : all)
                t = std::string(rng() % 30, 'z');
            cells.Assign(all);
            expected = all;
        } else {
            cells.Set(column, text);
            expected[static_cast<std::size_t>(column)] = text;
        }
        ExpectTexts(cells, expected, "step " + std::to_string(step));
        if (HasFailure())
            return;
    }
}

TEST(RowCellsTest, LeadingNumbersReadAsStrtollReadsThem) {
    for (const char* text :
         {"", "42", "7abc", "  12", "\t\n\v\f\r 5x", "-3", "+8", "- 3", "abc", "0x1f", "007",
          "9223372036854775807", "9223372036854775808", "99999999999999999999",
          "-9223372036854775808", "-9223372036854775809", "-99999999999999999999", "１２"}) {
        errno = 0;
        EXPECT_EQ(ParseLeadingInteger(text), std::strtoll(text, nullptr, 10)) << text;
    }
    // A view ends where it ends, though digits follow it in memory.
    const std::string digits = "123456";
    EXPECT_EQ(ParseLeadingInteger(std::string_view(digits).substr(0, 2)), 12);
}

TEST(RowCellsTest, RenumberingAndErrorRefreshKeepTheRowsBlocks) {
    test::TempDir dir;
    ListModel list;
    for (const char* name : {"a", "b", "c"})
        test::AppendFileRow(list, dir.MakeFile(name));
    list.EntryAt(1)->errors = ErrDuplicate;
    list.RefreshErrorColumn(1);
    const std::string directory(list.Cell(1, ColDirectory));
    const char* block = list.Cell(1, ColIcon).data();
    for (int i = 0; i < 50; ++i) {
        list.EntryAt(1)->errors = i % 2 == 0 ? 0u : std::uint32_t{ErrDuplicate};
        list.RefreshErrorColumn(1);
        list.RenumberRows();
    }
    EXPECT_EQ(list.Cell(1, ColIcon).data(), block);
    EXPECT_EQ(list.Cell(1, ColError), "重複 | ");
    EXPECT_EQ(list.Cell(1, ColRowNumber), "2");
    EXPECT_EQ(list.Cell(1, ColDirectory), directory);
    EXPECT_EQ(list.Cell(1, ColCurrentName), "b");
    EXPECT_EQ(list.Cell(2, ColRowNumber), "3");
}

}  // namespace
}  // namespace morvane
