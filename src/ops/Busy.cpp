#include "ops/Busy.h"

#include "host/ActivityLog.h"
#include "host/Messages.h"

namespace morvane {

bool BusyState::Abort() {
    const bool was = busy_;
    busy_ = false;
    return was;
}

bool BusyState::RefuseWhileBusy(ActivityLog& log) const {
    if (!busy_)
        return false;
    log.AppendLog(msg::kBusy);
    return true;
}

BusyGuard::BusyGuard(BusyState& state) : state_(state), outermost_(state.depth_ == 0) {
    if (outermost_)
        state_.busy_ = true;
    ++state_.depth_;
}

bool BusyGuard::Close() {
    if (!open_)
        return false;
    open_ = false;
    if (--state_.depth_ > 0)
        return false;
    state_.depth_ = 0;
    state_.busy_ = false;
    return true;
}

}  // namespace morvane
