#pragma once
// The window of this desktop session that is already open, as another start of the program
// sees it: a start can hand its paths over to it instead of opening a window of its own.
// Without such a link (tests, a window system without one) every start opens its own window.

#include <string>
#include <vector>

namespace morvane {

class RunningWindow {
public:
    virtual ~RunningWindow() = default;

    // Hands the paths to the window already open; false when none is open or none took them.
    virtual bool HandToRunningWindow(const std::vector<std::string>& /*paths*/) { return false; }
    // Makes this start the one later starts hand their paths to, unless another window is
    // that one already.
    virtual void AcceptHandedPaths() {}
    // The paths handed over since the last call, one list per later start, oldest first.
    virtual std::vector<std::vector<std::string>> TakeHandedPaths() { return {}; }
};

}  // namespace morvane
