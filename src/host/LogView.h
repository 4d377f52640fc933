#pragma once
// The window that shows the activity log; the text itself lives in the core.

#include <string>

namespace morvane {

class LogView {
public:
    virtual ~LogView() = default;
    virtual void LogAppended(const std::string& /*text*/) {}
    virtual void LogCleared() {}
};

}  // namespace morvane
