#pragma once
// Renaming every clean row on disk: deepest first, chains and rings through temporary names.

namespace morvane {

class CMorvaneApp;

class RenameEngine {
public:
    explicit RenameEngine(CMorvaneApp& app) : app_(app) {}

    // Command 1004.
    void RenameAll();

private:
    CMorvaneApp& app_;
};

}  // namespace morvane
