#include "ui/CListCtrlFile.h"

#include <QAccessible>
#include <QAction>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <array>

#include "app/CommandSink.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/rows/RowOrder.h"
#include "ui/ActionTables.h"
#include "ui/CEditName.h"
#include "ui/FileListModel.h"
#include "ui/ListAccessible.h"
#include "ui/QtText.h"

namespace morvane {

CListCtrlFile::CListCtrlFile(const ListParts& parts, const MimeIconCache* icons, QWidget* parent)
    : QTableView(parent),
      parts_(parts),
      model_(new FileListModel(parts.list, parts.rowLock, parts.rules, icons, this)) {
    setObjectName(QStringLiteral("CListCtrlFile"));
    ListAccessible::Install(staticMetaObject.className());
    setModel(model_);
    editor_ = new CEditName(parts.list, parts.rules, *this);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SetUpColumns();
    setAccessibleName(Qs(msg::kListName));
    // Read out while the list is empty, as the hint is shown then.
    const auto describe = [this] {
        setAccessibleDescription(model_->rowCount() == 0 ? EmptyHint() : QString());
    };
    describe();
    connect(model_, &QAbstractItemModel::rowsInserted, this, describe);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, describe);
    connect(model_, &QAbstractItemModel::modelReset, this, describe);

    connect(model_, &FileListModel::coreSelectionChanged, this,
            &CListCtrlFile::SyncSelectionFromCore);
    connect(model_, &FileListModel::aboutToReorder, this, &CListCtrlFile::ClearSelectionQuietly);
    connect(model_, &FileListModel::reordered, editor_, &CEditName::RowsReordered);
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, editor_,
            [this](const QModelIndex&, int first, int last) {
                editor_->RowsAboutToBeRemoved(first, last);
            });
    connect(model_, &QAbstractItemModel::rowsRemoved, editor_, &CEditName::RowsRemoved);
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, editor_,
            &CEditName::ModelAboutToBeReset);
    // Scrolling by the user commits an open edit; programmatic scrolling does not.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, editor_,
            &CEditName::CommitEdit);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, editor_,
            &CEditName::CommitEdit);
}

void CListCtrlFile::SetUpColumns() {
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < ColumnCount; ++column)
        header->resizeSection(column, kColumns[static_cast<std::size_t>(column)].width);
    for (int visual = 0; visual < ColumnCount; ++visual) {
        const int logical = kDisplayOrder[static_cast<std::size_t>(visual)];
        header->moveSection(header->visualIndex(logical), visual);
    }
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionClicked, this, &CListCtrlFile::OnHeaderClicked);
    // After every reorder: a sort shows its arrow, rows moved by hand take it away.
    connect(model_, &QAbstractItemModel::layoutChanged, this, &CListCtrlFile::ShowSortIndicator);
    connect(header, &QHeaderView::sectionResized, editor_, &CEditName::PositionEditor);
    connect(header, &QHeaderView::sectionMoved, editor_, &CEditName::PositionEditor);
}

std::string CListCtrlFile::ColumnOrder() const {
    std::string text;
    for (int visual = 0; visual < ColumnCount; ++visual) {
        if (visual > 0)
            text += ',';
        text += std::to_string(horizontalHeader()->logicalIndex(visual));
    }
    return text;
}

void CListCtrlFile::SetColumnOrder(const std::string& order) {
    const QStringList parts = QString::fromStdString(order).split(QLatin1Char(','));
    if (parts.size() != ColumnCount)
        return;
    std::array<int, ColumnCount> logical{};
    std::array<bool, ColumnCount> seen{};
    for (int visual = 0; visual < ColumnCount; ++visual) {
        bool ok = false;
        const int column = parts[visual].trimmed().toInt(&ok);
        if (!ok || column < 0 || column >= ColumnCount || seen[static_cast<std::size_t>(column)])
            return;
        seen[static_cast<std::size_t>(column)] = true;
        logical[static_cast<std::size_t>(visual)] = column;
    }
    QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < ColumnCount; ++visual)
        header->moveSection(header->visualIndex(logical[static_cast<std::size_t>(visual)]), visual);
}

void CListCtrlFile::ApplyListFont(const QFont& font) {
    horizontalHeader()->setFont(font);
    setFont(font);
    const int height = std::max(QFontMetrics(font).height(), iconSize().height()) + 4;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
    editor_->PositionEditor();
    UpdateEagerRows();
}

void CListCtrlFile::UpdateEagerRows() {
    // Rows that fit on the screen show as they come; more only make the scroll bar longer.
    const int rowHeight = std::max(verticalHeader()->defaultSectionSize(), 1);
    model_->SetEagerRows(viewport()->height() / rowHeight + 2);
}

void CListCtrlFile::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    UpdateEagerRows();
    editor_->PositionEditor();
}

void CListCtrlFile::EnsureRowVisible(int row) {
    model_->FlushAppends();
    if (row < 0 || row >= model_->rowCount())
        return;
    const int left = columnAt(0);
    scrollTo(model_->index(row, left >= 0 ? left : 0));
}

void CListCtrlFile::OnHeaderClicked(int column) {
    editor_->CommitEdit();
    CommandArgument sort;
    sort.column = column;
    parts_.commands.Execute(Command::SortByColumn, sort);
}

void CListCtrlFile::ShowSortIndicator() {
    const RowOrder::SortState sort = parts_.order.LastSort();
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(sort.column >= 0);
    if (sort.column >= 0)
        header->setSortIndicator(sort.column,
                                 sort.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CListCtrlFile::ClearSelectionQuietly() {
    syncing_ = true;
    selectionModel()->clearSelection();
    syncing_ = false;
}

void CListCtrlFile::SyncSelectionFromCore() {
    model_->FlushAppends();
    const ListModel& list = parts_.list;
    const int rows = model_->rowCount();
    QItemSelection selection;
    int runStart = -1;
    for (int row = 0; row <= rows; ++row) {
        const bool selected = row < rows && list.IsSelected(row);
        if (selected && runStart < 0) {
            runStart = row;
        } else if (!selected && runStart >= 0) {
            selection.select(model_->index(runStart, 0), model_->index(row - 1, ColumnCount - 1));
            runStart = -1;
        }
    }
    syncing_ = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const int focus = list.FocusRow();
    if (focus >= 0 && focus < rows) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        selectionModel()->setCurrentIndex(model_->index(focus, column),
                                          QItemSelectionModel::NoUpdate);
    }
    syncing_ = false;
    viewport()->update();
}

void CListCtrlFile::selectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
    // The table's own events would place the cells by the model's columns.
    if (QAccessible::isActive()) {
        const auto tell = [this](const QItemSelection& ranges, QAccessible::Event kind) {
            if (ranges.isEmpty())
                return;
            QAccessibleEvent event(this, kind);
            event.setChild(
                ListAccessible::ChildIndex(*this, ranges.first().top(), ranges.first().left()));
            QAccessible::updateAccessibility(&event);
        };
        tell(selected, QAccessible::SelectionAdd);
        tell(deselected, QAccessible::SelectionRemove);
    }
    QAbstractItemView::selectionChanged(selected, deselected);
    if (syncing_ || model_->ApplyingCoreChange())
        return;
    ListModel& list = parts_.list;
    const int rows = list.RowCount();
    const auto mark = [&](const QItemSelection& ranges, bool state) {
        for (const QItemSelectionRange& range : ranges) {
            for (int row = range.top(); row <= range.bottom() && row < rows; ++row)
                list.SetSelected(row, state);
        }
    };
    mark(deselected, false);
    mark(selected, true);
}

void CListCtrlFile::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(ListAccessible::ChildIndex(*this, current.row(), current.column()));
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
    if (!syncing_ && !model_->ApplyingCoreChange())
        parts_.list.SetFocusRow(current.isValid() ? current.row() : -1);
}

QModelIndex CListCtrlFile::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action != MoveHome && action != MoveEnd)
        return QTableView::moveCursor(action, modifiers);
    const int rows = model_->rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : std::max(columnAt(0), 0);
    return model_->index(action == MoveHome ? 0 : rows - 1, column);
}

void CListCtrlFile::keyPressEvent(QKeyEvent* event) {
    // Keys typed while the list has the focus are taken by its actions before they get here;
    // one sent to the list directly still runs its command.
    if (QAction* action = ActionForKey(*this, *event)) {
        action->trigger();
        event->accept();
        return;
    }
    // Ctrl+Home and Ctrl+End select the row they go to, as Home and End do; the view would
    // only move its cursor.
    const bool homeOrEnd = event->key() == Qt::Key_Home || event->key() == Qt::Key_End;
    if (homeOrEnd && event->modifiers() == Qt::ControlModifier) {
        QKeyEvent plain(event->type(), event->key(), Qt::NoModifier, event->text());
        QTableView::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QTableView::keyPressEvent(event);
}

void CListCtrlFile::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid() && index.column() == ColNewName) {
            QTableView::mousePressEvent(event);  // selects the row
            editor_->ApplyEditText();
            editor_->BeginEditAt(index.row(), event->globalPosition().toPoint());
            return;
        }
        editor_->CommitEdit();
    }
    QTableView::mousePressEvent(event);
}

void CListCtrlFile::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        parts_.commands.Execute(Command::Open);
    QTableView::mouseDoubleClickEvent(event);
}

QString CListCtrlFile::EmptyHint() {
    const QString key = ShownKeyOf(Command::RegisterFiles).toString(QKeySequence::NativeText);
    return Qs(msg::kEmptyListHint).replace(QStringLiteral("%s"), key);
}

void CListCtrlFile::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (model_->rowCount() != 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QRect room = viewport()->rect().adjusted(16, 16, -16, -16);
    painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, EmptyHint());
}

void CListCtrlFile::wheelEvent(QWheelEvent* event) {
    editor_->CommitEdit();
    QTableView::wheelEvent(event);
}

std::vector<std::string> CListCtrlFile::LocalPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString host = url.host();
        if (!host.isEmpty() && host != QLatin1String("localhost"))
            continue;
        // From the encoded form, so names that are not UTF-8 keep their bytes.
        const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
        const QByteArray path = QByteArray::fromPercentEncoding(encoded);
        if (!path.isEmpty())
            paths.push_back(path.toStdString());
    }
    return paths;
}

void CListCtrlFile::dragEnterEvent(QDragEnterEvent* event) {
    // Decided once per drag: a drop of many files carries a long list of URLs.
    dragHasLocalFiles_ = !LocalPaths(event->mimeData()).empty();
    if (!dragHasLocalFiles_) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void CListCtrlFile::dragMoveEvent(QDragMoveEvent* event) {
    if (!dragHasLocalFiles_) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void CListCtrlFile::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = LocalPaths(event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Registered once the drop is over, so the dragging program is not kept waiting for the
    // whole registration.
    CommandArgument drop;
    drop.paths = std::move(paths);
    QTimer::singleShot(0, this, [this, drop = std::move(drop)] {
        parts_.commands.Execute(Command::DropFiles, drop);
    });
}

bool CListCtrlFile::AtHeaderDivider(int x) const {
    const QHeaderView* header = horizontalHeader();
    const int logical = header->logicalIndexAt(x);
    if (logical < 0)
        return false;
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    const int start = header->sectionViewportPosition(logical);
    const int end = start + header->sectionSize(logical);
    return (x - start < grip && header->visualIndex(logical) > 0) || end - x <= grip;
}

bool CListCtrlFile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                AtHeaderDivider(mouse->position().toPoint().x())) {
                trackingDivider_ = true;
                editor_->PositionEditor();
            }
        } else if (event->type() == QEvent::MouseButtonRelease && trackingDivider_) {
            trackingDivider_ = false;
            editor_->CommitEdit();
        }
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace morvane
