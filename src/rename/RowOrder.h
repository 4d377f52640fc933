#pragma once
// Reordering rows: moving the selected rows up or down, and sorting by a column.

#include <array>

#include "list/ListColumns.h"

namespace morvane {

class CMorvaneApp;

class RowOrder {
public:
    explicit RowOrder(CMorvaneApp& app) : app_(app) {}

    void MoveRowsUp();
    void MoveRowsDown();
    // A click on the header of the column.
    void SortByColumn(int column);

    // Direction of the next sort per column (reversed meaning for the icon column).
    std::array<bool, ColumnCount> sortAscending{};

private:
    CMorvaneApp& app_;
};

}  // namespace morvane
