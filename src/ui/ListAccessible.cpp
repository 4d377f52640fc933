#include "ui/ListAccessible.h"

#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QWindow>
#include <algorithm>

namespace morvane {

namespace {

const char* g_className = nullptr;

// A heading (row -1) or a cell, named by its row and the model's column; the place it is
// shown at is asked of the header each time.
class ListChild final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ListChild(QTableView* view, int row, int column) : view_(view), row_(row), column_(column) {}

    bool isValid() const override {
        return view_ != nullptr && view_->model() != nullptr && row_ < view_->model()->rowCount() &&
               column_ < view_->model()->columnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return view_ != nullptr ? view_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        if (t == QAccessible::Value && row_ < 0)
            return {};
        const QAbstractItemModel* model = view_->model();
        const auto read = [&](int role) {
            return row_ < 0 ? model->headerData(column_, Qt::Horizontal, role).toString()
                            : model->index(row_, column_).data(role).toString();
        };
        const QString spoken = read(Qt::AccessibleTextRole);
        return spoken.isEmpty() ? read(Qt::DisplayRole) : spoken;
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        const QHeaderView* header = view_->horizontalHeader();
        if (row_ < 0) {
            const QRect section(header->sectionViewportPosition(column_), 0,
                                header->sectionSize(column_), header->height());
            return section.translated(header->viewport()->mapToGlobal(QPoint(0, 0)));
        }
        const QRect cell = view_->visualRect(view_->model()->index(row_, column_));
        return cell.translated(view_->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        const QRect shown = rect();
        const QRect area(view_->viewport()->mapToGlobal(QPoint(0, 0)), view_->viewport()->size());
        if (row_ >= 0 && !shown.intersects(area))
            state.invisible = true;
        if (row_ < 0)
            return state;
        const QModelIndex index = view_->model()->index(row_, column_);
        state.selectable = true;
        state.selected = view_->selectionModel()->isSelected(index);
        state.focusable = true;
        state.focused = view_->hasFocus() && view_->currentIndex() == index;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && row_ >= 0)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        QAccessibleInterface* table = parent();
        QAccessibleInterface* heading =
            table != nullptr ? table->child(ListAccessible::ChildIndex(*view_, -1, column_))
                             : nullptr;
        return heading != nullptr ? QList<QAccessibleInterface*>{heading}
                                  : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return view_->horizontalHeader()->visualIndex(column_); }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Row() const { return row_; }
    int Column() const { return column_; }

private:
    QPointer<QTableView> view_;
    int row_;
    int column_;
};

QAccessibleInterface* ListFactory(const QString& className, QObject* object) {
    if (g_className != nullptr && className == QLatin1String(g_className) &&
        qobject_cast<QTableView*>(object) != nullptr)
        return new ListAccessible(static_cast<QTableView*>(object));
    return nullptr;
}

}  // namespace

ListAccessible::ListAccessible(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {}

ListAccessible::~ListAccessible() {
    Forget();
}

void ListAccessible::Install(const char* className) {
    static const bool installed = [className] {
        g_className = className;
        QAccessible::installFactory(ListFactory);
        return true;
    }();
    (void)installed;
}

int ListAccessible::ChildIndex(const QTableView& view, int row, int logicalColumn) {
    const QAbstractItemModel* model = view.model();
    if (model == nullptr || logicalColumn < 0 || logicalColumn >= model->columnCount() ||
        row < -1 || row >= model->rowCount())
        return -1;
    const int visual = view.horizontalHeader()->visualIndex(logicalColumn);
    return (row + 1) * model->columnCount() + visual;
}

QTableView* ListAccessible::View() const {
    return static_cast<QTableView*>(widget());
}

void ListAccessible::Forget() {
    for (const QAccessible::Id id : std::as_const(children_))
        QAccessible::deleteAccessibleInterface(id);
    children_.clear();
}

QAccessible::Role ListAccessible::role() const {
    return QAccessible::Table;
}

int ListAccessible::columnCount() const {
    return View()->model() != nullptr ? View()->model()->columnCount() : 0;
}

int ListAccessible::rowCount() const {
    return View()->model() != nullptr ? View()->model()->rowCount() : 0;
}

int ListAccessible::childCount() const {
    return (rowCount() + 1) * columnCount();
}

QAccessibleInterface* ListAccessible::child(int index) const {
    const int columns = columnCount();
    if (index < 0 || columns == 0 || index >= childCount())
        return nullptr;
    // Kept by the model's column, so a moved heading keeps its interface.
    const int row = index / columns - 1;
    const int logical = View()->horizontalHeader()->logicalIndex(index % columns);
    const int key = (row + 1) * columns + logical;
    const auto known = children_.constFind(key);
    if (known != children_.constEnd())
        return QAccessible::accessibleInterface(known.value());
    auto* made = new ListChild(View(), row, logical);
    children_.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

int ListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* mine = dynamic_cast<const ListChild*>(child);
    if (mine == nullptr || !mine->isValid())
        return -1;
    return ChildIndex(*View(), mine->Row(), mine->Column());
}

QAccessibleInterface* ListAccessible::childAt(int x, int y) const {
    const QTableView* view = View();
    const QHeaderView* header = view->horizontalHeader();
    const QPoint inHeader = header->viewport()->mapFromGlobal(QPoint(x, y));
    if (header->isVisible() && header->viewport()->rect().contains(inHeader))
        return child(ChildIndex(*view, -1, header->logicalIndexAt(inHeader.x())));
    const QModelIndex index = view->indexAt(view->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(ChildIndex(*view, index.row(), index.column())) : nullptr;
}

QAccessibleInterface* ListAccessible::focusChild() const {
    const QModelIndex current = View()->currentIndex();
    return current.isValid() ? child(ChildIndex(*View(), current.row(), current.column()))
                             : nullptr;
}

void* ListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* ListAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return child((row + 1) * columnCount() + column);
}

QString ListAccessible::columnDescription(int column) const {
    QAccessibleInterface* heading = column >= 0 && column < columnCount() ? child(column) : nullptr;
    return heading != nullptr ? heading->text(QAccessible::Name) : QString();
}

int ListAccessible::selectedCellCount() const {
    return static_cast<int>(View()->selectionModel()->selectedIndexes().size());
}

QList<QAccessibleInterface*> ListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : View()->selectionModel()->selectedIndexes())
        cells.append(child(ChildIndex(*View(), index.row(), index.column())));
    return cells;
}

int ListAccessible::selectedColumnCount() const {
    return static_cast<int>(selectedColumns().size());
}

int ListAccessible::selectedRowCount() const {
    return static_cast<int>(selectedRows().size());
}

QList<int> ListAccessible::selectedColumns() const {
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnSelected(column))
            columns.append(column);
    }
    return columns;
}

QList<int> ListAccessible::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : View()->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool ListAccessible::isColumnSelected(int column) const {
    const int logical = View()->horizontalHeader()->logicalIndex(column);
    return logical >= 0 && View()->selectionModel()->isColumnSelected(logical, QModelIndex());
}

bool ListAccessible::isRowSelected(int row) const {
    return row >= 0 && View()->selectionModel()->isRowSelected(row, QModelIndex());
}

}  // namespace morvane
