#include "host/ActivityLog.h"

#include "host/Host.h"

namespace morvane {

void ActivityLog::AppendLog(const std::string& message) {
    std::string piece;
    piece.reserve(message.size() + 1);
    piece += '\n';
    piece += message;
    text_ += piece;
    if (host_ != nullptr)
        host_->LogAppended(piece);
}

void ActivityLog::ClearLog() {
    text_.clear();
    if (host_ != nullptr)
        host_->LogCleared();
}

}  // namespace morvane
