#pragma once
// The paths a start of the program is given, on its command line or handed over by a later
// start: list files are loaded, every other path is registered as if dropped on the list,
// and a path that names nothing is one line in the log.

#include <string>
#include <vector>

namespace morvane {

class ActivityLog;
class BusyState;
class FileSystem;
class ListFile;
class Registration;

class OpenPaths {
public:
    OpenPaths(ListFile& listFile, Registration& registration, FileSystem& fs, ActivityLog& log,
              const BusyState& busy)
        : listFile_(listFile), registration_(registration), fs_(fs), log_(log), busy_(busy) {}

    // Full paths, in the bytes the file system uses. The list files are loaded first, in
    // their order, so the last one holds the rows the other paths then join; all of it in
    // one registration run, so the log keeps the lines of every step.
    void Open(const std::vector<std::string>& paths);

    // Whether the file is a list file, told by its header rather than by its name.
    bool IsListFile(const std::string& path);

private:
    ListFile& listFile_;
    Registration& registration_;
    FileSystem& fs_;
    ActivityLog& log_;
    const BusyState& busy_;
};

}  // namespace morvane
