#include "ops/ItemBreak.h"

#include <thread>

#include "host/EventQueue.h"
#include "settings/AppSettings.h"

namespace morvane {

void ItemBreak::operator()() {
    events_.HandlePendingEvents();
    if (settings_.useCpuFully != 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastYield_ >= std::chrono::microseconds(100)) {
        std::this_thread::yield();
        lastYield_ = now;
    }
}

}  // namespace morvane
