#include "ui/LinedMessageBox.h"

#include <QLabel>
#include <QLayout>

namespace morvane {

void LinedMessageBox::showEvent(QShowEvent* event) {
    // The base class fixes the size (and turns wrapping on) here; undo both after it.
    QMessageBox::showEvent(event);
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr)
        return;
    label->setWordWrap(false);
    label->setMinimumWidth(label->sizeHint().width());
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(sizeHint());
}

}  // namespace morvane
