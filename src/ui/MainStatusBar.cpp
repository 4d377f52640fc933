#include "ui/MainStatusBar.h"

#include <algorithm>

#include "ui/ElidedLabel.h"
#include "ui/ProgressStrip.h"
#include "ui/QtText.h"

namespace morvane {

namespace {

// A pane of the given width, or wider when the longest text it shows would not fit.
ElidedLabel* MakePane(int width, const char* longest, QWidget* parent) {
    auto* pane = new ElidedLabel(parent);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    const int needed = pane->fontMetrics().horizontalAdvance(Qs(longest)) + 8;
    pane->setFixedWidth(std::max(width, needed));
    return pane;
}

void SetPaneText(ElidedLabel* pane, const std::string& text) {
    QString shown = Qs(text);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (shown.startsWith(QLatin1Char('\t'))) {
        shown.remove(0, 1);
        alignment = Qt::AlignCenter;
    }
    pane->SetAlignment(alignment);
    pane->SetText(shown);
}

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("MainStatusBar"));
    progress_ = new ProgressStrip(this);
    progress_->setFixedWidth(120);
    rowLock_ = MakePane(50, "行ロック", this);
    count_ = MakePane(120, "登録総数 : 1000000", this);
    addPermanentWidget(progress_);
    addPermanentWidget(rowLock_);
    addPermanentWidget(count_);
}

void MainStatusBar::SetProgress(float fraction) {
    progress_->SetFraction(fraction);
}

void MainStatusBar::SetRowLockText(const std::string& text) {
    SetPaneText(rowLock_, text);
}

void MainStatusBar::SetCountText(const std::string& text) {
    SetPaneText(count_, text);
}

}  // namespace morvane
