#pragma once
// Taking rows out of the list; the files stay where they are.

namespace morvane {

class ActivityLog;
class Host;
class ListModel;
class Pump;
class Validation;

class RowRemoval {
public:
    RowRemoval(ListModel& list, Validation& validation, ActivityLog& log, Host& host, Pump& pump)
        : list_(list), validation_(validation), log_(log), host_(host), pump_(pump) {}

    // The selected rows leave, the rows that wanted their paths are checked again, and the
    // rest are renumbered.
    void RemoveSelectedRows();
    void RemoveAllRows();
    // Every row and the log.
    void ClearAllRows();

private:
    ListModel& list_;
    Validation& validation_;
    ActivityLog& log_;
    Host& host_;
    Pump& pump_;
};

}  // namespace morvane
