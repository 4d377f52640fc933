#include "ui/MainStatusBar.h"

#include <QToolButton>
#include <algorithm>

#include "host/Messages.h"
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
    errors_ = new QToolButton(this);
    errors_->setObjectName(QStringLiteral("ErrorRowsButton"));
    errors_->setAutoRaise(true);
    errors_->setToolTip(Qs(msg::kErrorRowsTip));
    // F8 reaches the rows in error from the keyboard; the button need not take the focus.
    errors_->setFocusPolicy(Qt::NoFocus);
    addPermanentWidget(progress_);
    addPermanentWidget(rowLock_);
    addPermanentWidget(count_);
    addPermanentWidget(errors_);
    SetErrorCount(0);
    const QString format = Qs(msg::kRegisteredCount);
    const qsizetype at = format.indexOf(QStringLiteral("%d"));
    countBefore_ = format.left(at);
    countAfter_ = format.mid(at + 2);
}

void MainStatusBar::SetProgress(float fraction) {
    progress_->SetFraction(fraction);
}

void MainStatusBar::SetRowLockText(const std::string& text) {
    SetPaneText(rowLock_, text);
}

void MainStatusBar::SetErrorCount(int count) {
    errors_->setText(QString::fromUtf8(FormatText(msg::kErrorRowsPane, count)));
    errors_->setEnabled(count > 0);
}

void MainStatusBar::SetCount(int count) {
    if (count == shownCount_)
        return;
    shownCount_ = count;
    QString text = countBefore_;
    text += QString::number(count);
    text += countAfter_;
    // A leading tab centres the text, as for every pane.
    const bool centred = text.startsWith(QLatin1Char('\t'));
    if (centred)
        text.remove(0, 1);
    count_->SetAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    count_->SetText(text);
}

}  // namespace morvane
