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
class BusyState;
class FileSystem;
class Host;
class ListModel;
class Registration;
class RenameEngine;
class Validation;
struct Locations;

class UndoRun {
public:
    UndoRun(ListModel& list, Validation& validation, FileSystem& fs, ActivityLog& log, Host& host,
            const BusyState& busy, const Locations& places, Registration& registration,
            RenameEngine& engine)
        : list_(list),
          validation_(validation),
          fs_(fs),
          log_(log),
          host_(host),
          busy_(busy),
          places_(places),
          registration_(registration),
          engine_(engine) {}

    void UndoLastRun();

private:
    ListModel& list_;
    Validation& validation_;
    FileSystem& fs_;
    ActivityLog& log_;
    Host& host_;
    const BusyState& busy_;
    const Locations& places_;
    Registration& registration_;
    RenameEngine& engine_;
};

}  // namespace morvane
