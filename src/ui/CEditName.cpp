#include "ui/CEditName.h"

#include <QKeyEvent>
#include <algorithm>

#include "model/ListModel.h"
#include "platform/Utf16.h"
#include "rules/Validation.h"
#include "ui/CListCtrlFile.h"
#include "ui/FileListModel.h"
#include "ui/QtText.h"

namespace morvane {

namespace {
constexpr int kMaxPathUnits = 31998;
}

CEditName::CEditName(ListModel& rows, Validation& rules, CListCtrlFile& list)
    : QLineEdit(list.viewport()), rows_(rows), rules_(rules), list_(list) {
    setObjectName(QStringLiteral("CEditName"));
    setFrame(true);
    setMaxLength(31999);
    hide();
    setEnabled(false);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!opening_)
            ApplyEditText();
    });
}

bool CEditName::EditRowValid() const {
    return editRow_ >= 0 && editRow_ < rows_.RowCount();
}

bool CEditName::RowIsReadOnly() const {
    return EditRowValid() && (rows_.Row(editRow_).entry.errors & ErrRenameTest) != 0;
}

std::string CEditName::TextBytes() const {
    const QString shown = text();
    if (shown == originalShown_)
        return originalBytes_;
    return NameBytes(shown);
}

void CEditName::Open(int row) {
    const bool wasOpen = IsOpen();
    editRow_ = row;
    const ListRow& r = rows_.Row(row);
    originalBytes_ = rows_.Cell(row, ColNewName);
    originalShown_ = NameForEditing(originalBytes_);
    setReadOnly((r.entry.errors & ErrRenameTest) != 0);
    // Directory and name together stay within the longest path; a longer name already in
    // the row is shown whole but cannot grow.
    const int limit = kMaxPathUnits - static_cast<int>(r.entry.dirLength);
    opening_ = true;
    setMaxLength(32767);
    setText(originalShown_);
    setMaxLength(std::max({limit, static_cast<int>(originalShown_.size()), 1}));
    opening_ = false;
    // Setting the text of the open editor counts as a change of it.
    if (wasOpen)
        ApplyEditText();
    setEnabled(true);
    show();
    PositionEditor();
    setFocus(Qt::OtherFocusReason);
}

void CEditName::BeginEditSelected() {
    const std::vector<int> selected = rows_.SelectedRows();
    if (selected.empty())
        return;
    const int row = selected.front();
    list_.Model()->FlushAppends();
    list_.scrollTo(list_.model()->index(row, ColNewName));
    Open(row);
    selectAll();
    list_.viewport()->update();
    update();
}

void CEditName::BeginEditAt(int row, const QPoint& globalPosition) {
    Open(row);
    setCursorPosition(cursorPositionAt(mapFromGlobal(globalPosition)));
}

void CEditName::ApplyEditText() {
    if (!IsOpen() || !EditRowValid())
        return;
    rules_.SetNewName(editRow_, TextBytes());
    list_.viewport()->update(list_.visualRect(list_.model()->index(editRow_, ColNewName)));
}

void CEditName::CommitEdit() {
    if (!IsOpen())
        return;
    if (EditRowValid() && !RowIsReadOnly())
        rules_.SetNewName(editRow_, TextBytes());
    CloseEdit();
}

void CEditName::CloseEdit() {
    if (!IsOpen())
        return;
    hide();
    setEnabled(false);
    list_.viewport()->update();
    list_.setFocus(Qt::OtherFocusReason);
}

void CEditName::MoveEdit(int step) {
    if (!IsOpen())
        return;
    int start = cursorPosition();
    int end = start;
    if (hasSelectedText()) {
        start = selectionStart();
        end = selectionEnd();
    }
    const int old = editRow_;
    CommitEdit();
    const int count = rows_.RowCount();
    if (count == 0 || old < 0 || old >= count)
        return;
    const int row = std::clamp(old + step, 0, count - 1);
    rows_.SetSelected(old, false);
    rows_.SetSelected(row, true);
    rows_.SetFocusRow(row);
    rows_.NotifySelectionChanged();
    list_.scrollTo(list_.model()->index(row, ColNewName));
    Open(row);
    const int length = static_cast<int>(text().size());
    start = std::min(start, length);
    end = std::min(end, length);
    if (start == end) {
        setCursorPosition(start);
    } else {
        setSelection(start, end - start);
    }
}

void CEditName::PositionEditor() {
    if (!IsOpen() || !EditRowValid())
        return;
    const QRect cell = list_.visualRect(list_.model()->index(editRow_, ColNewName));
    if (!cell.isValid())
        return;
    setGeometry(cell);
    raise();
    update();
}

void CEditName::RowsReordered(const std::vector<int>& newPosition) {
    // The editor follows its row, so what is typed next still goes to the row shown in it.
    if (editRow_ >= 0 && static_cast<std::size_t>(editRow_) < newPosition.size())
        editRow_ = newPosition[static_cast<std::size_t>(editRow_)];
    PositionEditor();
}

void CEditName::RowsAboutToBeRemoved(int first, int last) {
    if (editRow_ < first)
        return;
    if (editRow_ <= last) {
        CloseEdit();  // its row goes; nothing left to apply to
        editRow_ = -1;
    } else {
        editRow_ -= last - first + 1;
    }
}

void CEditName::RowsRemoved() {
    PositionEditor();
}

void CEditName::ModelAboutToBeReset() {
    CloseEdit();
    editRow_ = -1;
}

void CEditName::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            CommitEdit();
            break;
        case Qt::Key_Escape:
            CloseEdit();
            break;
        case Qt::Key_Up:
            MoveEdit(-1);
            break;
        case Qt::Key_Down:
            MoveEdit(+1);
            break;
        default:
            QLineEdit::keyPressEvent(event);
            break;
    }
    // Keys typed here are the editor's; none of them reaches the list or the window.
    event->accept();
}

bool CEditName::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            event->accept();  // Tab does nothing in the editor
            return true;
        }
    }
    return QLineEdit::event(event);
}

}  // namespace morvane
