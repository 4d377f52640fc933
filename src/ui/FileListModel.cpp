#include "ui/FileListModel.h"

#include <algorithm>

#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/textfile/RowLock.h"
#include "rules/Validation.h"
#include "ui/MimeIconCache.h"
#include "ui/QtText.h"

namespace morvane {

namespace {
// Between two insertions of appended rows into a full view.
constexpr int kBatchIntervalMs = 250;
}  // namespace

CellColors ColorsOfCell(const ListModel& list, const RowLock& rowLock, int row, int column) {
    // The rules apply in this order, a later one overriding an earlier one.
    const bool odd = (row % 2) == 1;
    const ListRow& r = list.Row(row);
    CellColors c;
    c.text = QColor(0, 0, 0);
    if (odd)
        c.background = QColor(241, 241, 241);
    if (column == ColNewName && !r.entry.Moves())
        c.text = QColor(128, 196, 255);
    if ((r.entry.errors & ErrRenameTest) != 0) {
        c.text = QColor(255, 8, 8);
    } else if (r.entry.errors != 0) {
        c.text = QColor(228, 16, 16);
        c.background = odd ? QColor(255, 204, 204) : QColor(255, 218, 218);
    }
    if (column == ColRowNumber) {
        if (rowLock.RowLocked()) {
            c.text = QColor(0, 0, 0);
            c.background = QColor(196, 196, 248);
        } else {
            c.text = QColor(196, 196, 196);
            c.background = QColor(255, 255, 255);
        }
    }
    return c;
}

FileListModel::FileListModel(ListModel& list, const RowLock& rowLock, Validation& rules,
                             const MimeIconCache* icons, QObject* parent)
    : QAbstractTableModel(parent),
      list_(list),
      rowLock_(rowLock),
      rules_(rules),
      icons_(icons),
      shown_(list.RowCount()),
      errorRows_(list.ErrorRowCount()) {
    list_.AddObserver(this);
    flushTimer_.setSingleShot(true);
    connect(&flushTimer_, &QTimer::timeout, this, &FileListModel::FlushAppends);
}

FileListModel::~FileListModel() {
    list_.RemoveObserver(this);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown_)
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == ColIcon)
                return {};
            return Qs(list_.Cell(row, column));
        case Qt::DecorationRole:
            if (column == ColIcon && icons_ != nullptr)
                return icons_->Icon(list_.Row(row).icon);
            return {};
        case Qt::TextAlignmentRole:
            return headerData(column, Qt::Horizontal, role);
        case Qt::ForegroundRole:
            return ColorsOfCell(list_, rowLock_, row, column).text;
        case Qt::ToolTipRole:
            // The whole reason, where the user is looking, without scrolling to エラー.
            if ((column == ColNewName || column == ColError) && list_.Row(row).entry.errors != 0)
                return Qs(rules_.ExplainErrors(row));
            return {};
        case Qt::BackgroundRole: {
            const QColor background = ColorsOfCell(list_, rowLock_, row, column).background;
            return background.isValid() ? QVariant(background) : QVariant();
        }
        default:
            return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    const ColumnLayout& desc = kColumns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole)
        return Qs(desc.heading);
    // The icon column shows no heading, but a screen reader needs a name for it.
    if (role == Qt::AccessibleTextRole)
        return section == ColIcon ? Qs(msg::kIconColumnName) : Qs(desc.heading);
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal =
            desc.align == ColumnAlign::Right ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void FileListModel::FlushAppends() {
    flushTimer_.stop();
    const int count = list_.RowCount();
    if (count <= shown_)
        return;
    sinceFlush_.restart();
    ++applying_;
    beginInsertRows({}, shown_, count - 1);
    shown_ = count;
    endInsertRows();
    --applying_;
}

void FileListModel::RowLockChanged() {
    if (shown_ > 0)
        emit dataChanged(index(0, ColRowNumber), index(shown_ - 1, ColRowNumber));
}

void FileListModel::CheckErrorRows() {
    const int count = list_.ErrorRowCount();
    if (count == errorRows_)
        return;
    errorRows_ = count;
    emit errorRowsChanged(count);
}

void FileListModel::RowsAppended(int, int) {
    CheckErrorRows();
    if (flushTimer_.isActive())
        return;
    // Repainting a full view costs milliseconds; doing it a few times a second keeps a long
    // registration close to the speed of the core alone.
    int delay = 0;
    if (shown_ >= eagerRows_ && sinceFlush_.isValid())
        delay = static_cast<int>(std::max<qint64>(0, kBatchIntervalMs - sinceFlush_.elapsed()));
    flushTimer_.start(delay);
}

void FileListModel::RowsAboutToBeRemoved(int first, int count) {
    FlushAppends();
    ++applying_;
    beginRemoveRows({}, first, first + count - 1);
}

void FileListModel::RowsRemoved(int, int count) {
    shown_ -= count;
    endRemoveRows();
    --applying_;
    CheckErrorRows();
}

void FileListModel::ModelAboutToBeReset() {
    ++applying_;
    beginResetModel();
}

void FileListModel::ModelReset() {
    shown_ = list_.RowCount();
    endResetModel();
    --applying_;
    CheckErrorRows();
    emit coreSelectionChanged();
}

void FileListModel::CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    if (firstColumn <= ColError && ColError <= lastColumn)
        CheckErrorRows();
    lastRow = std::min(lastRow, shown_ - 1);  // rows not shown yet are read when shown
    if (firstRow > lastRow)
        return;
    emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn));
}

void FileListModel::LayoutAboutToChange() {
    FlushAppends();
    ++applying_;
    emit aboutToReorder();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::LayoutChanged(const std::vector<int>& newPosition) {
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        const auto row = static_cast<std::size_t>(old.row());
        after.push_back(row < newPosition.size() ? index(newPosition[row], old.column())
                                                 : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit reordered(newPosition);
    --applying_;
    emit coreSelectionChanged();
}

void FileListModel::SelectionChanged() {
    FlushAppends();
    emit coreSelectionChanged();
}

}  // namespace morvane
