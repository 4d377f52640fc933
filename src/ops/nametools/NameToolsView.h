#pragma once
// The name tools' dialog, as the tools see it: the window system implements it, tests script it.

namespace morvane {

class NameTools;

class NameToolsView {
public:
    // Shows the tools' rows and steps for editing; true for OK.
    virtual bool RunNameTools(NameTools& tools) = 0;

protected:
    ~NameToolsView() = default;
};

}  // namespace morvane
