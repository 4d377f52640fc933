#pragma once
// A one-line label that shows as much of its text as fits, ending in an ellipsis. Setting
// its text costs next to nothing, so a long operation may set it for every item.

#include <QFrame>
#include <QString>

namespace morvane {

class ElidedLabel final : public QFrame {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent);

    // Cheap: the text is elided only when painted.
    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    void SetAlignment(Qt::Alignment alignment);
    Qt::Alignment Alignment() const { return alignment_; }
    // What the label shows at its present width.
    QString ShownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace morvane
