#pragma once
// Reordering rows: moving the selected rows up or down, and sorting by a column.

#include <array>
#include <string>
#include <string_view>

#include "model/ListColumns.h"

namespace morvane {

class Host;
class ListModel;
class TextRoundTrip;

// Ordinal comparison of two cell texts on their UTF-16 units as unsigned values: no locale,
// no case folding. Negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);
// The texts read as signed 64-bit decimal numbers (leading blanks and a sign accepted,
// stopping at the first non-digit; no number reads 0).
int CompareNumber(const std::string& a, const std::string& b);
int CompareIcon(int a, int b);

// The UTF-16 units of a text, as CompareText orders them.
std::u16string Utf16SortKey(std::string_view text);

class RowOrder {
public:
    RowOrder(ListModel& list, Host& host, const TextRoundTrip& rowLock)
        : list_(list), host_(host), rowLock_(rowLock) {}

    // Moves every selected row one place up (down); a block of adjacent rows moves as a
    // block. Nothing moves when a selected row is already at the top (bottom).
    void MoveRowsUp();
    void MoveRowsDown();
    // A click on the header of the column.
    void SortByColumn(int column);

    // Direction of the next sort per column: true ascending. The icon column reads the other
    // way round (false: ascending).
    std::array<bool, ColumnCount> sortAscending{};

private:
    void FinishMove(int focusRow);

    ListModel& list_;
    Host& host_;
    const TextRoundTrip& rowLock_;
};

}  // namespace morvane
