#pragma once
// The status bar's four panes: menu prompts (stretching), the progress bar, the row-lock
// mark and the registered total. A text that starts with a tab is centred in its pane.

#include <QStatusBar>
#include <string>

class QLabel;
class QProgressBar;

namespace morvane {

class MainStatusBar final : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent);

    void SetProgress(float fraction);
    void SetRowLockText(const std::string& text);
    void SetCountText(const std::string& text);

    QProgressBar* ProgressBar() const { return progress_; }
    QLabel* RowLockPane() const { return rowLock_; }
    QLabel* CountPane() const { return count_; }

private:
    QProgressBar* progress_;
    QLabel* rowLock_;
    QLabel* count_;
};

}  // namespace morvane
