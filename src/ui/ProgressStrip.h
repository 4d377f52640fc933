#pragma once
// A progress bar over the range 0 to 2^31 - 1 that is cheap to set: a long operation sets it
// once per item, and it repaints only when the bar would look different.

#include <QWidget>

namespace morvane {

class ProgressStrip final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressStrip(QWidget* parent);

    // The fraction times 2^31, truncated; 1 or more fills the bar.
    void SetFraction(float fraction);
    int Value() const { return value_; }
    static int Maximum();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FilledPixels(int value) const;

    int value_ = 0;
};

}  // namespace morvane
