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

void ElidedLabel::SetAlignment(Qt::Alignment alignment) {
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
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
    painter.drawText(contentsRect(), alignment_, ShownText());
}

}  // namespace morvane
