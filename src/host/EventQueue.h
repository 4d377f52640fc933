#pragma once
// The window system's event queue.

namespace morvane {

class EventQueue {
public:
    virtual ~EventQueue() = default;

    // Handles pending window events (at most once per frame); never blocks.
    virtual void HandlePendingEvents() = 0;
    // Handles pending events, waiting up to timeoutMs for one when there are none.
    virtual void WaitForEvents(int timeoutMs) = 0;
};

}  // namespace morvane
