#include "ui/DialogProcess.h"

#include <QVBoxLayout>
#include <QWindow>

#include "host/Messages.h"
#include "ui/ElidedLabel.h"
#include "ui/ProgressStrip.h"
#include "ui/QtText.h"

namespace morvane {

namespace {

ProgressStrip* MakeBar(QWidget* parent) {
    auto* bar = new ProgressStrip(parent);
    bar->setFixedHeight(16);
    return bar;
}

}  // namespace

DialogProcess::DialogProcess(std::function<void()> onClose)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      onClose_(std::move(onClose)) {
    setObjectName(QStringLiteral("DialogProcess"));
    setWindowTitle(Qs(msg::kProgressCaption));
    setModal(false);
    overallLabel_ = new ElidedLabel(this);
    overallBar_ = MakeBar(this);
    detailLabel_ = new ElidedLabel(this);
    detailBar_ = MakeBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(overallLabel_);
    layout->addWidget(overallBar_);
    layout->addSpacing(10);
    layout->addWidget(detailLabel_);
    layout->addWidget(detailBar_);
    setFixedWidth(504);
}

void DialogProcess::SetOverallText(const std::string& text) {
    overallLabel_->SetText(Qs(text));
}

void DialogProcess::SetOverallProgress(float fraction) {
    overallBar_->SetFraction(fraction);
}

void DialogProcess::SetDetailText(const std::string& text) {
    detailLabel_->SetText(Qs(text));
}

void DialogProcess::SetDetailProgress(float fraction) {
    detailBar_->SetFraction(fraction);
}

void DialogProcess::ShowOver(QWidget* owner) {
    SetOverallText({});
    SetDetailText({});
    overallBar_->SetFraction(0.0f);
    detailBar_->SetFraction(0.0f);
    adjustSize();
    if (owner != nullptr) {
        // Owned by the main window, but not its child: disabling the main window must not
        // disable the one way to abort.
        winId();
        if (QWindow* window = windowHandle())
            window->setTransientParent(owner->window()->windowHandle());
        move(owner->window()->geometry().center() - rect().center());
    }
    show();
}

void DialogProcess::reject() {
    onClose_();
    QDialog::reject();
}

}  // namespace morvane
