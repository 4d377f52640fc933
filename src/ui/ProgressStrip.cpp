#include "ui/ProgressStrip.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>

#include "ui/QtText.h"

namespace morvane {

ProgressStrip::ProgressStrip(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

int ProgressStrip::Maximum() {
    return kProgressMaximum;
}

int ProgressStrip::FilledPixels(int value) const {
    return static_cast<int>(static_cast<double>(value) * width() / kProgressMaximum);
}

void ProgressStrip::SetFraction(float fraction) {
    const int value = ProgressPosition(fraction);
    if (value == value_)
        return;
    const bool visible = FilledPixels(value) != FilledPixels(value_);
    value_ = value;
    if (visible)
        update();
}

QSize ProgressStrip::sizeHint() const {
    return {120, fontMetrics().height() + 2};
}

QSize ProgressStrip::minimumSizeHint() const {
    return {20, 10};
}

void ProgressStrip::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.minimum = 0;
    option.maximum = kProgressMaximum;
    option.progress = value_;
    option.textVisible = false;
    option.state |= QStyle::State_Horizontal;
    painter.drawControl(QStyle::CE_ProgressBar, option);
}

}  // namespace morvane
