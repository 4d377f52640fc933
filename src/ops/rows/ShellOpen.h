#pragma once
// Opening files, folders and programs through the desktop.

#include <string>

namespace morvane {

enum class ShellOutcome;
class ActivityLog;
class FileSystem;
class ListModel;
class Navigation;
class RowLock;
struct AppSettings;

// Opens the path with the desktop's default application; a failure is logged and false.
bool OpenWithDesktop(FileSystem& fs, ActivityLog& log, const std::string& path);
// Logs the message of a failed open or start of `path`; nothing for a success.
void ReportOpenFailure(ActivityLog& log, ShellOutcome outcome, const std::string& path);

class ShellOpen {
public:
    ShellOpen(ListModel& list, FileSystem& fs, ActivityLog& log, const AppSettings& settings,
              RowLock& rowLock, Navigation& navigation)
        : list_(list),
          fs_(fs),
          log_(log),
          settings_(settings),
          rowLock_(rowLock),
          navigation_(navigation) {}

    // Enter, double click, the toolbar's 開く: opens every selected row, or shows the content
    // of the first selected folder in the list when folder navigation is on.
    void OpenSelectedEntries();
    // Opening is on in the options.
    bool Applies() const;

private:
    ListModel& list_;
    FileSystem& fs_;
    ActivityLog& log_;
    const AppSettings& settings_;
    RowLock& rowLock_;
    Navigation& navigation_;
};

}  // namespace morvane
