#pragma once
// Progress of a long operation: the progress dialog and the status bar's gauge.

#include <string>

namespace morvane {

class Progress {
public:
    virtual ~Progress() = default;

    // The four setters do nothing while the dialog has no window.
    virtual void OpenProgressDialog() = 0;
    virtual void CloseProgressDialog() = 0;
    virtual void SetOverallText(const std::string& text) = 0;
    virtual void SetOverallProgress(float fraction) = 0;
    virtual void SetDetailText(const std::string& text) = 0;
    virtual void SetDetailProgress(float fraction) = 0;

    virtual void SetStatusProgress(float fraction) = 0;
};

}  // namespace morvane
