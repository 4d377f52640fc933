#pragma once
// The file list on screen: a table over the core's rows with the program's colours, mouse
// handling, header sorting and file drops. Its command keys are actions the frame adds to it.
// Selection and focus live in the core's model; this view mirrors them both ways.

#include <QTableView>
#include <string>
#include <vector>

#include "ui/ListParts.h"

namespace morvane {

class CEditName;
class FileListModel;
class MimeIconCache;

class CListCtrlFile final : public QTableView {
    Q_OBJECT
public:
    CListCtrlFile(const ListParts& parts, const MimeIconCache* icons, QWidget* parent);

    FileListModel* Model() const { return model_; }
    CEditName* Editor() const { return editor_; }

    // Scrolls the row into view without scrolling sideways.
    void EnsureRowVisible(int row);
    // The columns' display order as the settings keep it: column indexes left to right,
    // separated by commas.
    std::string ColumnOrder() const;
    // Shows the columns in a kept order; a text that is not an order of all columns leaves
    // the program's own.
    void SetColumnOrder(const std::string& order);
    // Sets the list font and a row height that fits it.
    void ApplyListFont(const QFont& font);

    // Local files of a drop, as paths in file-system bytes; empty when there are none.
    static std::vector<std::string> LocalPaths(const QMimeData* data);
    // What the empty list shows: drop files here, or 登録 with its key.
    static QString EmptyHint();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Home and End (with Ctrl or not) go to the first and last row, as in a file list; the
    // column stays, so the view does not scroll sideways.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // An empty list says how to fill it.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void SetUpColumns();
    void UpdateEagerRows();
    void SyncSelectionFromCore();
    void ClearSelectionQuietly();
    bool AtHeaderDivider(int x) const;
    void OnHeaderClicked(int column);
    // The header's arrow as the last sort left it.
    void ShowSortIndicator();

    ListParts parts_;
    FileListModel* model_;
    CEditName* editor_;
    bool syncing_ = false;
    bool trackingDivider_ = false;
    bool dragHasLocalFiles_ = false;
};

}  // namespace morvane
