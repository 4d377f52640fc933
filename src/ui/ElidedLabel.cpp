#include "ui/ElidedLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace morvane {

namespace {

// A screen reader reads the label as static text; the text is painted, so Qt would find
// none.
class ElidedLabelAccessible final : public QAccessibleWidget {
public:
    explicit ElidedLabelAccessible(ElidedLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return static_cast<const ElidedLabel*>(widget())->Text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* ElidedLabelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("morvane::ElidedLabel") && object->isWidgetType())
        return new ElidedLabelAccessible(static_cast<ElidedLabel*>(object));
    return nullptr;
}

}  // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QFrame(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(ElidedLabelFactory);
        return true;
    }();
    (void)installed;
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ElidedLabel::SetText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
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
