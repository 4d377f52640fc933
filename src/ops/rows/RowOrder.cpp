#include "ops/rows/RowOrder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "host/MainWindow.h"
#include "model/ListModel.h"
#include "ops/textfile/RowLock.h"
#include "platform/Utf16.h"

namespace morvane {

std::u16string Utf16SortKey(std::string_view text) {
    std::u16string key;
    key.reserve(text.size());
    ForEachUtf16Unit(text, [&](std::uint16_t unit) { key.push_back(static_cast<char16_t>(unit)); });
    return key;
}

namespace {

// order[newPos] = old position, sorted by a key computed once per row. `ascending` puts the
// smaller keys first; equal keys keep their order.
template <class Key, class KeyOf>
std::vector<int> SortedOrder(int count, bool ascending, KeyOf keyOf) {
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        keys.push_back(keyOf(row));
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto key = [&](int row) -> const Key& { return keys[static_cast<std::size_t>(row)]; };
    if (ascending) {
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return key(x) < key(y); });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return key(y) < key(x); });
    }
    return order;
}

}  // namespace

void RowOrder::MoveRowsUp() {
    ListModel& list = list_;
    const std::vector<int> selected = list.SelectedRows();  // ascending
    if (selected.empty() || selected.front() == 0)
        return;
    // Each selected row trades places with the row above it; in ascending order a block of
    // selected rows climbs as one and the row above it ends up below it.
    std::vector<int> order(static_cast<std::size_t>(list.RowCount()));
    std::iota(order.begin(), order.end(), 0);
    for (int p : selected)
        std::swap(order[static_cast<std::size_t>(p - 1)], order[static_cast<std::size_t>(p)]);
    lastSort_.column = -1;  // before the reorder tells the window
    list.Reorder(order);
    FinishMove(selected.front() - 1);
}

void RowOrder::MoveRowsDown() {
    ListModel& list = list_;
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty() || selected.back() == list.RowCount() - 1)
        return;
    std::vector<int> order(static_cast<std::size_t>(list.RowCount()));
    std::iota(order.begin(), order.end(), 0);
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const auto p = static_cast<std::size_t>(*it);
        std::swap(order[p], order[p + 1]);
    }
    lastSort_.column = -1;  // before the reorder tells the window
    list.Reorder(order);
    FinishMove(selected.back() + 1);
}

void RowOrder::FinishMove(int focusRow) {
    // While the row lock holds the "行" cells are the line numbers of the text file.
    if (!rowLock_.RowLocked())
        list_.RenumberRows();
    list_.SetFocusRow(focusRow);
    list_.NotifySelectionChanged();
    window_.EnsureRowVisible(focusRow);
}

void RowOrder::SortByColumn(int column) {
    if (column < 0 || column >= ColumnCount)
        return;
    window_.CommitEdit();
    const auto flag = static_cast<std::size_t>(column);
    const bool direction = sortAscending[flag];
    sortAscending[flag] = !direction;
    ListModel& list = list_;
    const int count = list.RowCount();
    std::vector<int> order;
    switch (column) {
        case ColIcon:
            // The icon column's flag reads the other way round.
            order =
                SortedOrder<int>(count, !direction, [&](int row) { return list.Row(row).icon; });
            break;
        case ColRowNumber:
            if (!rowLock_.RowLocked())
                return;
            [[fallthrough]];
        case ColCharCount:
        case ColSize:
            order = SortedOrder<long long>(count, direction, [&](int row) {
                return ParseLeadingInteger(list.Cell(row, column));
            });
            break;
        default:
            order = SortedOrder<std::u16string>(
                count, direction, [&](int row) { return Utf16SortKey(list.Cell(row, column)); });
            break;
    }
    // Whichever way the labels run, the rows in error come first: that is what the user
    // sorts by this column for.
    if (column == ColError)
        std::stable_partition(order.begin(), order.end(),
                              [&](int row) { return !list.Cell(row, ColError).empty(); });
    lastSort_ = {column, column == ColIcon ? !direction : direction};
    list.Reorder(order);
    if (!rowLock_.RowLocked())
        list.RenumberRows();
}

}  // namespace morvane
