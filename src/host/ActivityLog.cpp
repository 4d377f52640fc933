#include "host/ActivityLog.h"

#include "host/LogView.h"

namespace morvane {

void ActivityLog::AppendLog(const std::string& message) {
    std::string piece;
    piece.reserve(message.size() + 1);
    piece += '\n';
    piece += message;
    text_ += piece;
    if (view_ != nullptr)
        view_->LogAppended(piece);
}

void ActivityLog::ClearLog() {
    text_.clear();
    if (view_ != nullptr)
        view_->LogCleared();
}

}  // namespace morvane
