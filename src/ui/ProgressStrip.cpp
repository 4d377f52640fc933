#include "ui/ProgressStrip.h"

#include <algorithm>

#include <QPainter>

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
    // A plain smooth bar: the style's bar, with its gradients and rounded ends, costs more
    // to draw than a registration spends on a hundred files.
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const int filled = FilledPixels(value_);
    if (filled > 0)
        painter.fillRect(QRect(1, 1, std::min(filled, width() - 2), height() - 2),
                         palette().color(QPalette::Highlight));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
}

}  // namespace morvane
