#pragma once
// The in-place editor laid over the "新しいファイル名" cell of one row. Every change of its
// text is applied to the row at once; Enter closes it, Escape closes it keeping what was
// applied, Up and Down carry it to the neighbouring row. Losing the focus does not close it.

#include <QLineEdit>
#include <QString>
#include <string>
#include <vector>

namespace morvane {

class ListModel;
class Validation;
class CListCtrlFile;

class CEditName final : public QLineEdit {
    Q_OBJECT
public:
    CEditName(ListModel& rows, Validation& rules, CListCtrlFile& list);

    // F2: opens on the first selected row with all text selected.
    void BeginEditSelected();
    // A click on a row's new-name cell: opens with the caret at the click.
    void BeginEditAt(int row, const QPoint& globalPosition);
    // Applies the text to the row without closing.
    void ApplyEditText();
    // Applies (unless the row is read-only) and closes.
    void CommitEdit();
    // Closes without applying anything more.
    void CloseEdit();
    // Commits, then opens on the row `step` places away (kept within the list), with the
    // same selection of text.
    void MoveEdit(int step);
    // Lays the open editor over its cell again.
    void PositionEditor();

    bool IsOpen() const { return !isHidden(); }
    int EditRow() const { return editRow_; }

    // Keep editRow pointing at the same row when the rows move or go.
    void RowsReordered(const std::vector<int>& newPosition);
    void RowsAboutToBeRemoved(int first, int last);
    void RowsRemoved();
    void ModelAboutToBeReset();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Open(int row);
    bool RowIsReadOnly() const;
    bool EditRowValid() const;
    // The text as bytes; an untouched name keeps the bytes it had, even if not UTF-8.
    std::string TextBytes() const;

    ListModel& rows_;
    Validation& rules_;
    CListCtrlFile& list_;
    int editRow_ = -1;
    bool opening_ = false;
    std::string originalBytes_;
    QString originalShown_;
};

}  // namespace morvane
