#pragma once
// Whether a registration runs. Registrations nest (a drop arriving while a folder tree
// registers joins the running one), and a running one can be told to stop (the progress
// dialog closed, the program quit); it then stops at its next item.

namespace morvane {

class ActivityLog;

class BusyState {
public:
    // A registration runs and has not been told to stop.
    bool Busy() const { return busy_; }
    // Tells the running registration to stop; true when one was running.
    bool Abort();
    // Logs the busy message and returns true while a registration runs.
    bool RefuseWhileBusy(ActivityLog& log) const;

    // How many registrations are open, the outermost included.
    int Depth() const { return depth_; }

private:
    friend class BusyGuard;
    bool busy_ = false;
    int depth_ = 0;
};

// Open for one registration: the first guard of a nest sets the state busy, the last one to
// close clears it.
class BusyGuard {
public:
    explicit BusyGuard(BusyState& state);
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    ~BusyGuard() { Close(); }

    // This guard opened the nest.
    bool Outermost() const { return outermost_; }
    // Closes the guard before its end of scope; true when it was the last one open. A
    // second call does nothing.
    bool Close();

private:
    BusyState& state_;
    bool outermost_;
    bool open_ = true;
};

}  // namespace morvane
