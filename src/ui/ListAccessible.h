#pragma once
// The file list as a screen reader sees it: headings and cells in the order the columns are
// shown. Qt's own table interface walks the model's columns, so after a heading is dragged a
// reader would name the cells in an order the screen does not have.
//
// Child i of the table is heading i (the i-th shown) for i below the column count, then the
// cells row by row, each row in shown order. Interfaces of children are made on demand and
// kept, by row and model column, until the rows change.

#include <QAccessibleWidget>
#include <QHash>

class QTableView;

namespace morvane {

class ListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(QTableView* view);
    ~ListAccessible() override;

    // Installs the factory that gives a widget of the class named this interface; once.
    static void Install(const char* className);
    // The child index of a cell or a heading (row -1), or -1 when there is none.
    static int ChildIndex(const QTableView& view, int row, int logicalColumn);

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    // Selection lives in the program's rows; a reader cannot change it from here.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { Forget(); }

private:
    // Drops the children's interfaces, whose rows no longer hold.
    void Forget();

    QTableView* View() const;

    mutable QHash<int, QAccessible::Id> children_;
};

}  // namespace morvane
