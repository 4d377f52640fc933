#include "model/ListModel.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>

#include "platform/Paths.h"
#include "platform/Utf16.h"

namespace morvane {
namespace {

// Seven labels of at most nine bytes.
using ErrorTextBuffer = std::array<char, 64>;

std::string_view WriteErrorText(std::uint32_t errors, ErrorTextBuffer& buffer) {
    static const char* const labels[] = {"空白 | ", "重複 | ", "禁止 | ", "既存 | ",
                                         "不換 | ", "排他 | ", "長さ | "};
    std::size_t length = 0;
    for (int bit = 0; bit < 7; ++bit) {
        if ((errors & (1u << bit)) != 0) {
            const std::size_t n = std::strlen(labels[bit]);
            std::memcpy(buffer.data() + length, labels[bit], n);
            length += n;
        }
    }
    return {buffer.data(), length};
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string ErrorCellText(std::uint32_t errors) {
    ErrorTextBuffer buffer;
    return std::string(WriteErrorText(errors, buffer));
}

long long ParseLeadingInteger(std::string_view text) {
    // As strtoll reads base 10: blanks, a sign, digits; beyond the range it gives the limit.
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const unsigned long long limit =
        negative ? 0ull - static_cast<unsigned long long>(LLONG_MIN) : LLONG_MAX;
    unsigned long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<unsigned>(text[i] - '0');
        if (value > (limit - digit) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? static_cast<long long>(0ull - value) : static_cast<long long>(value);
}

ListModel::ListModel() = default;

ListModel::~ListModel() {
    for (auto& row : rows_) {
        currentIndex_.Unlink(&row->entry);
        newIndex_.Unlink(&row->entry);
    }
}

void ListModel::AddObserver(ListModelObserver* observer) {
    observers_.push_back(observer);
}

void ListModel::RemoveObserver(ListModelObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void ListModel::SetCell(int row, int column, std::string_view text) {
    ListRow& r = *rows_[static_cast<std::size_t>(row)];
    std::string own;
    if (column == ColType) {
        r.typeName = TypeNameNumber(text);
        if (r.typeName != 0)
            text = {};
    } else if (r.cellsFromPaths && IsPathCell(column)) {
        if (text == PathCell(r.entry, column)) {
            text = {};
        } else {
            // A text the paths do not hold: the row keeps its own from now on, so that an
            // empty one stays empty.
            own.assign(text);
            text = own;
            for (const int c : kPathCells) {
                if (r.cells.Get(c).empty())
                    r.cells.Set(c, PathCell(r.entry, c));
            }
            r.cellsFromPaths = false;
        }
    }
    if (column == ColError) {
        SetErrorCell(r, text);
    } else {
        r.cells.Set(column, text);
    }
    for (auto* o : observers_)
        o->CellsChanged(row, row, column, column);
}

void ListModel::SetErrorCell(ListRow& row, std::string_view text) {
    const bool before = !row.cells.Get(ColError).empty();
    row.cells.Set(ColError, text);
    errorRows_ += (text.empty() ? 0 : 1) - (before ? 1 : 0);
}

int ListModel::NextErrorRow(int from, bool forward) const {
    const int count = RowCount();
    if (errorRows_ == 0 || count == 0)
        return -1;
    const int step = forward ? 1 : count - 1;
    // With no row to start from, going forward starts at the top and back at the bottom.
    int row = from >= 0 && from < count ? from : (forward ? count - 1 : 0);
    for (int seen = 0; seen < count; ++seen) {
        row = (row + step) % count;
        if (InError(static_cast<std::size_t>(row)))
            return row;
    }
    return -1;
}

void ListModel::NotifyCellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    if (firstRow > lastRow)
        return;
    for (auto* o : observers_)
        o->CellsChanged(firstRow, lastRow, firstColumn, lastColumn);
}

void ListModel::ReserveRows(std::size_t rows) {
    rows_.reserve(rows);
    currentIndex_.Reserve(rows);
    newIndex_.Reserve(rows);
}

int ListModel::AppendRow(std::unique_ptr<ListRow> row, std::uint32_t keyHash) {
    currentIndex_.Insert(&row->entry, keyHash);
    newIndex_.Insert(&row->entry, keyHash);
    const int position = RowCount();
    row->entry.row = position;
    rows_.push_back(std::move(row));
    if (InError(rows_.size() - 1))
        ++errorRows_;
    for (auto* o : observers_)
        o->RowsAppended(position, 1);
    return position;
}

int ListModel::AppendFileRow(FileRowFacts&& facts, std::uint32_t keyHash) {
    // The chains the row goes into load while it is built.
    currentIndex_.Prefetch(keyHash, 0);
    newIndex_.Prefetch(keyHash, 0);
    const std::uint16_t typeNumber = TypeNameNumber(facts.typeName);
    return AppendRow(builder_.FileRow(std::move(facts), typeNumber, RowCount() + 1), keyHash);
}

int ListModel::AppendDriveRow(const std::string& drive) {
    auto row = RowBuilder::DriveRow(drive, RowCount() + 1);
    const std::uint32_t keyHash = FullPathHash(row->entry.currentKey);
    const int position = AppendRow(std::move(row), keyHash);
    RefreshErrorColumn(position);
    return position;
}

void ListModel::SetNewPath(int row, std::string_view directory, std::string_view name) {
    FileEntry& entry = rows_[static_cast<std::size_t>(row)]->entry;
    entry.AssignNewPath(directory, name);
    newIndex_.Insert(&entry);  // moves it to the chain of its new key
}

void ListModel::Repoint(int row, const std::string& path) {
    FileEntry& entry = rows_[static_cast<std::size_t>(row)]->entry;
    currentIndex_.Unlink(&entry);
    newIndex_.Unlink(&entry);
    const std::string directory(FolderOf(path));
    const std::string name(NameOf(path));
    const bool nameChanged = name != Cell(row, ColCurrentName);
    const std::string newName(Cell(row, ColNewName));
    // The paths before the cells, which are read from them where they match.
    AssignPathKey(entry.currentKey, path);
    entry.AssignNewPath(directory, newName);
    SetCell(row, ColCurrentName, name);
    SetCell(row, ColDirectory, directory);
    SetCell(row, ColNewName, newName);
    if (nameChanged)
        SetCell(row, ColExtension, ExtensionCell(name));
    entry.dirLength = static_cast<std::uint16_t>(Utf16Length(directory));
    currentIndex_.Insert(&entry);
    newIndex_.Insert(&entry);
}

void ListModel::DetachRow(int row) {
    FileEntry& entry = rows_[static_cast<std::size_t>(row)]->entry;
    currentIndex_.Unlink(&entry);
    newIndex_.Unlink(&entry);
}

bool ListModel::IsConsistent() const {
    if (!currentIndex_.IsConsistent() || !newIndex_.IsConsistent())
        return false;
    if (currentIndex_.CountEntries() != rows_.size() || newIndex_.CountEntries() != rows_.size())
        return false;
    int inError = 0;
    for (std::size_t position = 0; position < rows_.size(); ++position) {
        const FileEntry& entry = rows_[position]->entry;
        const auto holds = [&entry](const PathIndex& index, const std::string& key) {
            bool found = false;
            index.ForEach(key, [&](const FileEntry* e) { return !(found = e == &entry); });
            return found;
        };
        if (InError(position))
            ++inError;
        if (entry.row != static_cast<std::int32_t>(position) ||
            !holds(currentIndex_, entry.currentKey) || !holds(newIndex_, entry.NewKey()))
            return false;
    }
    return inError == errorRows_;
}

void ListModel::RemoveRow(int row) {
    const auto index = static_cast<std::size_t>(row);
    for (auto* o : observers_)
        o->RowsAboutToBeRemoved(row, 1);
    currentIndex_.Unlink(&rows_[index]->entry);
    newIndex_.Unlink(&rows_[index]->entry);
    if (InError(index))
        --errorRows_;
    rows_.erase(rows_.begin() + row);
    if (focusRow_ == row) {
        focusRow_ = -1;
    } else if (focusRow_ > row) {
        --focusRow_;
    }
    for (auto* o : observers_)
        o->RowsRemoved(row, 1);
}

void ListModel::RemoveRows(const std::vector<int>& ascendingPositions) {
    if (ascendingPositions.empty())
        return;
    // Contiguous runs, so observers hear of few large removals instead of many single ones.
    std::vector<std::pair<int, int>> runs;
    for (int p : ascendingPositions) {
        if (!runs.empty() && runs.back().first + runs.back().second == p) {
            ++runs.back().second;
        } else {
            runs.emplace_back(p, 1);
        }
    }
    const bool reset = runs.size() > 64;
    if (reset) {
        for (auto* o : observers_)
            o->ModelAboutToBeReset();
    }
    if (reset) {
        // One pass over the rows behind the first removed one: erasing run by run would move
        // the tail once per run, and every other row of a long list is a run each.
        std::size_t next = 0;
        const auto removed = [&](std::size_t r) {
            return next < ascendingPositions.size() &&
                   static_cast<std::size_t>(ascendingPositions[next]) == r;
        };
        std::size_t kept = static_cast<std::size_t>(ascendingPositions.front());
        for (std::size_t r = kept; r < rows_.size(); ++r) {
            PrefetchRow(r);
            if (!removed(r)) {
                rows_[kept++] = std::move(rows_[r]);
                continue;
            }
            while (removed(r))
                ++next;
            if (InError(r))
                --errorRows_;
            currentIndex_.Unlink(&rows_[r]->entry);
            newIndex_.Unlink(&rows_[r]->entry);
            rows_[r].reset();
        }
        rows_.resize(kept);
    } else {
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            const auto [first, count] = *it;
            for (auto* o : observers_)
                o->RowsAboutToBeRemoved(first, count);
            for (int r = first; r < first + count; ++r) {
                if (InError(static_cast<std::size_t>(r)))
                    --errorRows_;
                currentIndex_.Unlink(&rows_[static_cast<std::size_t>(r)]->entry);
                newIndex_.Unlink(&rows_[static_cast<std::size_t>(r)]->entry);
            }
            rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
            for (auto* o : observers_)
                o->RowsRemoved(first, count);
        }
    }
    focusRow_ = -1;
    RewriteRowFields(ascendingPositions.front());
    if (reset) {
        for (auto* o : observers_)
            o->ModelReset();
    }
}

std::uint16_t ListModel::TypeNameNumber(std::string_view text) {
    if (text.empty())
        return 0;
    if (const auto found = typeNumbers_.find(text); found != typeNumbers_.end())
        return found->second;
    if (typeNames_.size() >= 0xFFFFu)
        return 0;
    const std::string& kept = typeNames_.emplace_back(text);
    const auto number = static_cast<std::uint16_t>(typeNames_.size());
    typeNumbers_.emplace(kept, number);
    return number;
}

void ListModel::RemoveAllRows() {
    for (auto* o : observers_)
        o->ModelAboutToBeReset();
    for (auto it = rows_.rbegin(); it != rows_.rend(); ++it) {
        currentIndex_.Unlink(&(*it)->entry);
        newIndex_.Unlink(&(*it)->entry);
    }
    rows_.clear();
    rows_.shrink_to_fit();
    errorRows_ = 0;
    typeNumbers_.clear();
    typeNames_.clear();
    focusRow_ = -1;
    for (auto* o : observers_)
        o->ModelReset();
}

void ListModel::PrefetchRow(std::size_t at) const {
    // The rows of a long list lie all over the heap: the row, then the blocks it points at,
    // some rows ahead of their use.
    constexpr std::size_t kDistance = 8;
    if (at + 2 * kDistance < rows_.size())
        __builtin_prefetch(rows_[at + 2 * kDistance].get());
    if (at + kDistance < rows_.size()) {
        const ListRow& row = *rows_[at + kDistance];
        row.cells.Prefetch();
        __builtin_prefetch(row.entry.currentKey.data());
    }
}

void ListModel::RenumberRows() {
    char number[24];
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        PrefetchRow(i);
        const auto written = std::to_chars(number, number + sizeof number, i + 1);
        const std::string_view text(number, static_cast<std::size_t>(written.ptr - number));
        // Rows registered in order already carry their number.
        if (rows_[i]->cells.Get(ColRowNumber) != text)
            rows_[i]->cells.Set(ColRowNumber, text);
    }
    NotifyCellsChanged(0, RowCount() - 1, ColRowNumber, ColRowNumber);
}

void ListModel::RewriteRowFields(int from) {
    for (std::size_t i = static_cast<std::size_t>(std::max(from, 0)); i < rows_.size(); ++i) {
        rows_[i]->entry.row = static_cast<std::int32_t>(i);
    }
}

int ListModel::RowNumberOf(int row) const {
    return static_cast<int>(ParseLeadingInteger(Cell(row, ColRowNumber)));
}

void ListModel::RefreshErrorColumn(int row) {
    ListRow& r = *rows_[static_cast<std::size_t>(row)];
    ErrorTextBuffer buffer;
    const std::string_view text = WriteErrorText(r.entry.errors, buffer);
    if (text == r.cells.Get(ColError))
        return;
    SetErrorCell(r, text);
    for (auto* o : observers_)
        o->CellsChanged(row, row, 0, ColumnCount - 1);
}

void ListModel::Reorder(const std::vector<int>& order) {
    for (auto* o : observers_)
        o->LayoutAboutToChange();
    std::vector<std::unique_ptr<ListRow>> reordered(rows_.size());
    std::vector<int> newPosition(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto old = static_cast<std::size_t>(order[i]);
        reordered[i] = std::move(rows_[old]);
        newPosition[old] = static_cast<int>(i);
    }
    rows_ = std::move(reordered);
    if (focusRow_ >= 0 && focusRow_ < RowCount())
        focusRow_ = newPosition[static_cast<std::size_t>(focusRow_)];
    RewriteRowFields(0);
    for (auto* o : observers_)
        o->LayoutChanged(newPosition);
}

void ListModel::SetSelected(int row, bool selected) {
    rows_[static_cast<std::size_t>(row)]->selected = selected;
}

void ListModel::SetSelection(const std::vector<int>& rows) {
    for (auto& r : rows_)
        r->selected = false;
    for (int r : rows)
        rows_[static_cast<std::size_t>(r)]->selected = true;
    NotifySelectionChanged();
}

void ListModel::SelectAll() {
    for (auto& r : rows_)
        r->selected = true;
    NotifySelectionChanged();
}

std::vector<int> ListModel::SelectedRows() const {
    std::vector<int> result;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i]->selected)
            result.push_back(static_cast<int>(i));
    }
    return result;
}

void ListModel::NotifySelectionChanged() {
    for (auto* o : observers_)
        o->SelectionChanged();
}

}  // namespace morvane
