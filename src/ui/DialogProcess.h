#pragma once
// The modeless "登録中" window of a running registration: the item being registered with the
// share of items done, and the detail (a folder being scanned, a file) with its share.
// Closing it aborts the registration; the registration's end destroys it.

#include <QDialog>
#include <functional>
#include <string>

namespace morvane {

class ElidedLabel;
class ProgressStrip;

class DialogProcess final : public QDialog {
    Q_OBJECT
public:
    // `onClose`: the user closed the dialog (the registration it shows stops).
    explicit DialogProcess(std::function<void()> onClose);

    void SetOverallText(const std::string& text);
    void SetOverallProgress(float fraction);
    void SetDetailText(const std::string& text);
    void SetDetailProgress(float fraction);
    // Shows the window centred over `owner`, texts empty and bars at 0.
    void ShowOver(QWidget* owner);

    ElidedLabel* OverallLabel() const { return overallLabel_; }
    ElidedLabel* DetailLabel() const { return detailLabel_; }
    ProgressStrip* OverallBar() const { return overallBar_; }
    ProgressStrip* DetailBar() const { return detailBar_; }

public slots:
    // The close box, Alt+F4 and Escape: abort the registration. The window stays until the
    // registration ends.
    void reject() override;

private:
    std::function<void()> onClose_;
    ElidedLabel* overallLabel_;
    ProgressStrip* overallBar_;
    ElidedLabel* detailLabel_;
    ProgressStrip* detailBar_;
};

}  // namespace morvane
