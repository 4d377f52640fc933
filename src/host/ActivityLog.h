#pragma once
// The activity log: plain text, every message on a new line. The text lives here; the
// log view is told of every change through the Host.

#include <string>

namespace morvane {

class Host;

class ActivityLog {
public:
    void SetHost(Host* host) { host_ = host; }
    // Starts a new line, then adds the message (which may hold line feeds of its own).
    void AppendLog(const std::string& message);
    void ClearLog();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    Host* host_ = nullptr;
};

}  // namespace morvane
