#include "ui/LinedMessageBox.h"

#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <algorithm>

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
    // A line wider than the screen is wrapped after all, so the buttons stay in reach.
    const QScreen* shown = screen();
    if (shown == nullptr)
        return;
    const int room = shown->availableGeometry().width() - (frameGeometry().width() - width());
    if (width() <= room)
        return;
    label->setWordWrap(true);
    label->setMinimumWidth(0);
    label->setFixedWidth(std::max(label->sizeHint().width() - (width() - room), 100));
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(std::min(sizeHint().width(), room), sizeHint().height());
}

}  // namespace morvane
