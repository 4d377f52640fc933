#include "ui/ElidedLabel.h"

#include <QPainter>

namespace morvane {

ElidedLabel::ElidedLabel(QWidget* parent) : QFrame(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ElidedLabel::SetText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
}

QString ElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text_, Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::sizeHint() const {
    return {200, fontMetrics().height() + 2};
}

QSize ElidedLabel::minimumSizeHint() const {
    return {20, fontMetrics().height() + 2};
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, ShownText());
}

}  // namespace morvane
