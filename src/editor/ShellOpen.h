#pragma once
// Opening files, folders and programs through the desktop.

#include <string>

namespace morvane {

class CMorvaneApp;

class ShellOpen {
public:
    explicit ShellOpen(CMorvaneApp& app) : app_(app) {}

    void ShellOpenPath(const std::string& path);
    void ReportShellExecuteError(int result, const std::string& path);
    // Enter, double click, command 32808.
    void OpenSelectedEntries();

private:
    CMorvaneApp& app_;
};

}  // namespace morvane
