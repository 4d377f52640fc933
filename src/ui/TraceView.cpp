#include "ui/TraceView.h"

#include <QScrollBar>
#include <QTextCursor>

#include "host/Messages.h"
#include "ui/QtText.h"

namespace morvane {

TraceView::TraceView(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("TraceView"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setAccessibleName(Qs(msg::kLogName));
}

void TraceView::Append(const std::string& text) {
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    // A cursor of its own, so the user's selection stays where it is.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(Qs(text));
    if (atEnd)
        bar->setValue(bar->maximum());
}

void TraceView::Clear() {
    clear();
}

}  // namespace morvane
