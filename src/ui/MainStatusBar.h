#pragma once
// The status bar's four panes: menu prompts (stretching), the progress bar, the row-lock
// mark and the registered total. A text that starts with a tab is centred in its pane.

#include <QStatusBar>
#include <string>

namespace morvane {

class ElidedLabel;
class ProgressStrip;

class MainStatusBar final : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent);

    void SetProgress(float fraction);
    void SetRowLockText(const std::string& text);
    // The registered total in its format; called for every row a registration adds.
    void SetCount(int count);

    ProgressStrip* ProgressBar() const { return progress_; }
    ElidedLabel* RowLockPane() const { return rowLock_; }
    ElidedLabel* CountPane() const { return count_; }

private:
    ProgressStrip* progress_;
    ElidedLabel* rowLock_;
    ElidedLabel* count_;
    int shownCount_ = -1;
    QString countBefore_;  // the total's format around its "%d"
    QString countAfter_;
};

}  // namespace morvane
