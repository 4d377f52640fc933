#pragma once
// The rows of the file list: each row's FileEntry, icon index, twelve cell texts (the folder
// and names read from the entry's paths, the type from a table) and selection state, the two
// path indexes, and notifications for whoever shows them.

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/FileEntry.h"
#include "model/ListColumns.h"
#include "model/PathIndex.h"
#include "model/RowBuilder.h"
#include "model/RowCells.h"
#include "platform/Paths.h"

namespace morvane {

// The icon index the rows of the root and of mounted media show (a disk); the GUI's icon
// cache keeps it first.
inline constexpr int kDriveIconIndex = 0;

struct ListRow {
    FileEntry entry;
    int icon = kDriveIconIndex;
    bool selected = false;
    // The folder, name and new-name cells are parts of the entry's paths and are read from
    // them (a million rows would keep them twice); a differing text stored in the cell wins.
    // Drive rows show marks of their own and keep them.
    bool cellsFromPaths = false;
    // The type cell as a number in the list's table of type names (0: the cell holds its
    // text): a folder of photos has one type, not a copy in every row.
    std::uint16_t typeName = 0;
    RowCells cells;
};

// The part of the entry's paths that `column` shows: its folder (final separator included),
// its name, its new name; "" for the other columns.
inline std::string_view PathCell(const FileEntry& entry, int column) {
    const std::string_view current = entry.currentKey;
    const std::size_t folder = NameStart(current);
    switch (column) {
        case ColDirectory:
            return current.substr(0, folder);
        case ColCurrentName:
            return current.substr(folder);
        case ColNewName: {
            const std::string_view path = entry.NewPath();
            return path.size() >= folder ? path.substr(folder) : std::string_view();
        }
        default:
            return {};
    }
}

inline constexpr std::array<int, 3> kPathCells = {ColDirectory, ColCurrentName, ColNewName};

inline bool IsPathCell(int column) {
    return std::find(kPathCells.begin(), kPathCells.end(), column) != kPathCells.end();
}

// Told of every change, in order. Row numbers are positions at the time of the call.
class ListModelObserver {
public:
    virtual ~ListModelObserver() = default;
    virtual void RowsAppended(int /*first*/, int /*count*/) {}
    virtual void RowsAboutToBeRemoved(int /*first*/, int /*count*/) {}
    virtual void RowsRemoved(int /*first*/, int /*count*/) {}
    virtual void ModelAboutToBeReset() {}
    virtual void ModelReset() {}
    virtual void CellsChanged(int /*firstRow*/, int /*lastRow*/, int /*firstColumn*/,
                              int /*lastColumn*/) {}
    // newPosition[old] is where the row that stood at `old` stands now.
    virtual void LayoutAboutToChange() {}
    virtual void LayoutChanged(const std::vector<int>& /*newPosition*/) {}
    virtual void SelectionChanged() {}
};

class ListModel {
public:
    ListModel();
    ListModel(const ListModel&) = delete;
    ListModel& operator=(const ListModel&) = delete;
    ~ListModel();

    void AddObserver(ListModelObserver* observer);
    void RemoveObserver(ListModelObserver* observer);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    FileEntry* EntryAt(int row) { return &rows_[static_cast<std::size_t>(row)]->entry; }
    const ListRow& Row(int row) const { return *rows_[static_cast<std::size_t>(row)]; }
    // Valid until the next change of a cell of the same row: copy it to keep it across one.
    std::string_view Cell(int row, int column) const {
        const ListRow& r = *rows_[static_cast<std::size_t>(row)];
        const std::string_view text = r.cells.Get(column);
        if (!text.empty())
            return text;
        if (column == ColType && r.typeName != 0)
            return typeNames_[r.typeName - 1u];
        if (r.cellsFromPaths && IsPathCell(column))
            return PathCell(r.entry, column);
        return text;
    }
    void SetCell(int row, int column, std::string_view text);

    // Read only: rows go into and out of the indexes through the list's own operations below,
    // which keep every row in both.
    const PathIndex& CurrentPathIndex() const { return currentIndex_; }
    const PathIndex& NewPathIndex() const { return newIndex_; }

    // Room for this many rows in all, so that appending up to them grows neither the row
    // table nor the indexes.
    void ReserveRows(std::size_t rows);
    // Makes the row of a file (see RowBuilder) and appends it, in both indexes; `keyHash` is
    // PathKeyHash(facts.key, facts.foldsCase). Returns the position.
    int AppendFileRow(FileRowFacts&& facts, std::uint32_t keyHash);
    int AppendFileRow(FileRowFacts&& facts) {
        const std::uint32_t keyHash = PathKeyHash(facts.key, facts.foldsCase);
        return AppendFileRow(std::move(facts), keyHash);
    }
    // Appends the row of a drive ("" for the root, else its mount point), in both indexes.
    int AppendDriveRow(const std::string& drive);
    // Gives the row the new path directory + name (the current path when they make it) and
    // moves it to the chain of its new key. The cells are the caller's.
    void SetNewPath(int row, std::string_view directory, std::string_view name);
    // Points the row at its file's path now, after a move; its new name stays and moves
    // along, and the folder, name and extension cells follow.
    void Repoint(int row, const std::string& path);
    // Takes a row that is about to leave out of both indexes, so that checks of the rows that
    // stay no longer meet it; it leaves with the next RemoveRows.
    void DetachRow(int row);
    // Takes the row out of both indexes, frees it and deletes the row. Does not touch the row
    // fields or cells of other rows.
    void RemoveRow(int row);
    // Removes the rows at the given ascending positions in one pass, then rewrites every
    // row field.
    void RemoveRows(const std::vector<int>& ascendingPositions);
    // Frees every row.
    void RemoveAllRows();
    // Writes position + 1 into every "行" cell.
    void RenumberRows();
    // Sets row = position for every entry.
    void RewriteRowFields(int from = 0);
    // The "行" cell read as a decimal number (leading number; 0 when there is none).
    int RowNumberOf(int row) const;
    void RefreshErrorColumn(int row);
    // Rows whose error column is not empty: the rows a rename skips. Kept as cells change, so
    // reading it costs nothing at any length of the list.
    int ErrorRowCount() const { return errorRows_; }
    // The nearest row in error after `from` (before it, going back), wrapping round the list;
    // `from` itself comes last. -1 when no row is in error.
    int NextErrorRow(int from, bool forward) const;
    // Puts the rows in a new order: order[newPos] = old position. Rewrites row fields.
    void Reorder(const std::vector<int>& order);

    // Selection and focus, kept here so the logic can run without a window.
    bool IsSelected(int row) const { return rows_[static_cast<std::size_t>(row)]->selected; }
    void SetSelected(int row, bool selected);
    void SetSelection(const std::vector<int>& rows);  // exactly these rows
    void SelectAll();
    std::vector<int> SelectedRows() const;  // ascending
    int FocusRow() const { return focusRow_; }
    void SetFocusRow(int row) { focusRow_ = row; }
    // Notifies observers once after a series of SetSelected calls.
    void NotifySelectionChanged();

    // Tells observers that the whole list changed (after bulk edits of cells).
    void NotifyCellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn);

    // The number a row's typeName keeps `text` under; 0 for an empty text or a full table.
    std::uint16_t TypeNameNumber(std::string_view text);

    // True when every row is in the chain of its current key and of its new key, once, with
    // its position in its row field, and the indexes hold nothing else; for tests.
    bool IsConsistent() const;

private:
    // Links the row's entry into both indexes and appends it; sets its row field.
    int AppendRow(std::unique_ptr<ListRow> row, std::uint32_t keyHash);
    bool InError(std::size_t row) const { return !rows_[row]->cells.Get(ColError).empty(); }
    // Sets a cell of the error column, keeping the count of rows in error.
    void SetErrorCell(ListRow& row, std::string_view text);
    void PrefetchRow(std::size_t at) const;

    std::vector<std::unique_ptr<ListRow>> rows_;
    // A deque, so that the texts stay where they are as the table grows and cells may view
    // them.
    std::deque<std::string> typeNames_;
    std::unordered_map<std::string_view, std::uint16_t> typeNumbers_;
    // Invariant (IsConsistent): each entry of rows_ is linked in both indexes under its current
    // key and its new key, and nothing else is; only the list's own operations link or unlink.
    PathIndex currentIndex_{PathIndex::Key::Current};
    PathIndex newIndex_{PathIndex::Key::New};
    RowBuilder builder_;
    // Invariant (IsConsistent): the number of rows whose error cell is not empty.
    int errorRows_ = 0;
    std::vector<ListModelObserver*> observers_;
    int focusRow_ = -1;
};

// Leading decimal number of a text as strtol would read it; 0 when none.
long long ParseLeadingInteger(std::string_view text);

}  // namespace morvane
