#include "ui/MainStatusBar.h"

#include <QLabel>
#include <QProgressBar>

#include "ui/QtText.h"

namespace morvane {

namespace {

QLabel* MakePane(int width, QWidget* parent) {
    auto* pane = new QLabel(parent);
    pane->setMinimumWidth(width);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    return pane;
}

void SetPaneText(QLabel* pane, const std::string& text) {
    QString shown = Qs(text);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (shown.startsWith(QLatin1Char('\t'))) {
        shown.remove(0, 1);
        alignment = Qt::AlignCenter;
    }
    pane->setAlignment(alignment);
    pane->setText(shown);
}

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("MainStatusBar"));
    progress_ = new QProgressBar(this);
    progress_->setRange(0, kProgressMaximum);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(120);
    rowLock_ = MakePane(50, this);
    count_ = MakePane(120, this);
    addPermanentWidget(progress_);
    addPermanentWidget(rowLock_);
    addPermanentWidget(count_);
}

void MainStatusBar::SetProgress(float fraction) {
    progress_->setValue(ProgressPosition(fraction));
}

void MainStatusBar::SetRowLockText(const std::string& text) {
    SetPaneText(rowLock_, text);
}

void MainStatusBar::SetCountText(const std::string& text) {
    SetPaneText(count_, text);
}

}  // namespace morvane
