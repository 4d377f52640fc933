#pragma once
// Reordering rows: moving the selected rows up or down, and sorting by a column.

#include <array>
#include <string>
#include <string_view>

#include "model/ListColumns.h"

namespace morvane {

class MainWindow;
class ListModel;
class RowLock;

// The UTF-16 units of a text: sorting by name compares these as unsigned values (ordinal, no
// locale, no case folding).
std::u16string Utf16SortKey(std::string_view text);

class RowOrder {
public:
    RowOrder(ListModel& list, MainWindow& window, const RowLock& rowLock)
        : list_(list), window_(window), rowLock_(rowLock) {}

    // Moves every selected row one place up (down); a block of adjacent rows moves as a
    // block. Nothing moves when a selected row is already at the top (bottom).
    void MoveRowsUp();
    void MoveRowsDown();
    // A click on the header of the column. By the error column, the rows in error come first
    // in both directions.
    void SortByColumn(int column);

    // The column the rows were last sorted by and in which direction, as the header's arrow
    // shows it; column -1 once rows were moved by hand.
    struct SortState {
        int column = -1;
        bool ascending = true;
    };
    SortState LastSort() const { return lastSort_; }

    // Direction of the next sort per column: true ascending. The icon column reads the other
    // way round (false: ascending).
    std::array<bool, ColumnCount> sortAscending{};

private:
    void FinishMove(int focusRow);

    SortState lastSort_;

    ListModel& list_;
    MainWindow& window_;
    const RowLock& rowLock_;
};

}  // namespace morvane
