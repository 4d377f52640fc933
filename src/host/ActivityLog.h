#pragma once
// The activity log: plain text, every message on a new line. The text lives here; the
// log view is told of every change.

#include <string>

namespace morvane {

class LogView;

class ActivityLog {
public:
    void SetView(LogView* view) { view_ = view; }
    // Starts a new line, then adds the message (which may hold line feeds of its own).
    void AppendLog(const std::string& message);
    void ClearLog();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    LogView* view_ = nullptr;
};

}  // namespace morvane
