#pragma once
// The core's list as a Qt table model. Each change the core reports maps onto the matching
// begin/end pair; appended rows are held back and shown in one insertion per flush, so a
// registration of many rows does not pay the view's cost of an insertion and a repaint per
// row. Cells are read from the core when asked, never copied.

#include <QAbstractTableModel>
#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <vector>

#include "model/ListModel.h"

namespace morvane {

class ListModel;
class RowLock;
class Validation;
class MimeIconCache;

// Text and background of one cell; an invalid background leaves the view's own.
struct CellColors {
    QColor text;
    QColor background;
};
CellColors ColorsOfCell(const ListModel& list, const RowLock& rowLock, int row, int column);

class FileListModel final : public QAbstractTableModel, private ListModelObserver {
    Q_OBJECT
public:
    FileListModel(ListModel& list, const RowLock& rowLock, Validation& rules,
                  const MimeIconCache* icons, QObject* parent);
    ~FileListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Shows the rows appended since the last flush.
    void FlushAppends();
    // While fewer rows than this are shown, appended rows show at the next pass over the
    // events; beyond, a few times a second (and at once when the program is idle).
    void SetEagerRows(int rows) { eagerRows_ = rows; }
    // True while a change of the core is being passed on to the view.
    bool ApplyingCoreChange() const { return applying_ > 0; }
    // The row-lock state changed: the "行" column is drawn differently.
    void RowLockChanged();

signals:
    // The core's selection or focus changed; the view takes it over.
    void coreSelectionChanged();
    // The number of rows in error changed (read from the core's count, never by a scan).
    void errorRowsChanged(int count);
    // Before the rows are put in a new order, and after (newPosition[old] = new).
    void aboutToReorder();
    void reordered(const std::vector<int>& newPosition);

private:
    void RowsAppended(int first, int count) override;
    void RowsAboutToBeRemoved(int first, int count) override;
    void RowsRemoved(int first, int count) override;
    void ModelAboutToBeReset() override;
    void ModelReset() override;
    void CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn) override;
    void LayoutAboutToChange() override;
    void LayoutChanged(const std::vector<int>& newPosition) override;
    void SelectionChanged() override;
    void CheckErrorRows();

    ListModel& list_;
    const RowLock& rowLock_;
    Validation& rules_;
    const MimeIconCache* icons_;
    int shown_ = 0;  // rows the view knows; the core may hold more, appended since
    int applying_ = 0;
    int eagerRows_ = 64;
    int errorRows_ = 0;  // as last told
    QTimer flushTimer_;
    QElapsedTimer sinceFlush_;
};

}  // namespace morvane
