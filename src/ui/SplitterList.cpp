#include "ui/SplitterList.h"

#include <algorithm>

namespace morvane {

namespace {
constexpr int kMinimumPane = 10;
}

SplitterList::SplitterList(QWidget* list, QWidget* log, QWidget* parent)
    : QSplitter(Qt::Vertical, parent) {
    setObjectName(QStringLiteral("SplitterList"));
    setChildrenCollapsible(false);
    addWidget(list);
    addWidget(log);
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
    list->setMinimumHeight(kMinimumPane);
    log->setMinimumHeight(kMinimumPane);
    connect(this, &QSplitter::splitterMoved, this,
            [this](int, int) { savedLogHeight_ = sizes().value(1, savedLogHeight_); });
}

void SplitterList::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    ApplyHeights();
}

void SplitterList::ApplyHeights() {
    const int available = height() - handleWidth();
    const int log = std::max(kMinimumPane, savedLogHeight_);
    const int list = std::max(kMinimumPane, available - savedLogHeight_);
    setSizes({list, log});
}

}  // namespace morvane
