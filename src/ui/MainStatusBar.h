#pragma once
// The status bar's panes: menu prompts (stretching), the progress bar, the row-lock mark, the
// registered total, and the number of rows in error as a button that goes to the first of
// them. A text that starts with a tab is centred in its pane.

#include <QStatusBar>
#include <string>

class QToolButton;

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
    // The number of rows in error; the button is enabled while there are some.
    void SetErrorCount(int count);

    ProgressStrip* ProgressBar() const { return progress_; }
    ElidedLabel* RowLockPane() const { return rowLock_; }
    ElidedLabel* CountPane() const { return count_; }
    QToolButton* ErrorButton() const { return errors_; }

private:
    ProgressStrip* progress_;
    ElidedLabel* rowLock_;
    ElidedLabel* count_;
    QToolButton* errors_;
    int shownCount_ = -1;
    QString countBefore_;  // the total's format around its "%d"
    QString countAfter_;
};

}  // namespace morvane
