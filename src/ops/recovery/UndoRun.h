#pragma once
// The undo command: the most recent finished rename run that has not been reversed is
// reversed by a run of its own. Its files are registered, given their old names through the
// name rules, and renamed by the rename engine, so every check and every no-replace move of
// a run holds, and the undo is journaled like any run. A file changed since the run (moved,
// renamed, replaced) is named in the log and left alone.

#include <string>
#include <vector>

namespace morvane {

class ActivityLog;
class FileSystem;
class Dialogs;
class ListModel;
class Registration;
class RenameCommand;
class Validation;
struct Locations;

class UndoRun {
public:
    UndoRun(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log,
            Dialogs& dialogs, const Locations& places, Registration& registration,
            RenameCommand& rename)
        : list_(list),
          validation_(validation),
          fs_(fs),
          log_(log),
          dialogs_(dialogs),
          places_(places),
          registration_(registration),
          rename_(rename) {}

    void UndoLastRun();

private:
    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    Dialogs& dialogs_;
    const Locations& places_;
    Registration& registration_;
    RenameCommand& rename_;
};

}  // namespace morvane
