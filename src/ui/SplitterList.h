#pragma once
// The list above, the log below. The log keeps its height when the window is resized; the
// list takes the change. Dragging the bar sets the height the log keeps.

#include <QSplitter>

namespace morvane {

class SplitterList final : public QSplitter {
    Q_OBJECT
public:
    SplitterList(QWidget* list, QWidget* log, QWidget* parent);

    int SavedLogHeight() const { return savedLogHeight_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyHeights();

    int savedLogHeight_ = 100;
};

}  // namespace morvane
