#pragma once
// Handing the processor back between the items of a long operation.

#include <chrono>

namespace morvane {

class EventQueue;
struct AppSettings;

class ItemBreak {
public:
    ItemBreak(EventQueue& events, const AppSettings& settings)
        : events_(events), settings_(settings) {}

    // Handles window events, then yields the processor unless "CPUをフル使用" is on. A
    // yield is a system call that costs more than many an item (half a microsecond, two per
    // row of a re-import); the scheduler deals out slices of a millisecond or more, so a
    // yield at most every 100 microseconds gives other programs the same chances as one per
    // item.
    void operator()();

private:
    EventQueue& events_;
    const AppSettings& settings_;
    std::chrono::steady_clock::time_point lastYield_;
};

}  // namespace morvane
