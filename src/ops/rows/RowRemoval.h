#pragma once
// Taking rows out of the list; the files stay where they are.

#include <string>
#include <vector>

namespace morvane {

class ActivityLog;
class MainWindow;
class Progress;
class ListModel;
class ItemBreak;
class Validation;

class RowRemoval {
public:
    RowRemoval(ListModel& list, Validation& validation, ActivityLog& log, MainWindow& window,
               Progress& progress, ItemBreak& itemBreak)
        : list_(list),
          validation_(validation),
          log_(log),
          window_(window),
          progress_(progress),
          itemBreak_(itemBreak) {}

    // The selected rows leave, the rows that wanted their paths are checked again, and the
    // rest are renumbered.
    void RemoveSelectedRows();
    void RemoveAllRows();
    // Every row and the log.
    void ClearAllRows();

    // A row that stays, and the path its file is at now.
    struct KeptRow {
        int position;
        std::string path;
    };
    // Every other row leaves. The kept rows point at their files where they are now, keep
    // their new names and, unless `renumber`, their "行" numbers (lines of the text file
    // still belong to them), and are checked again without the rows that left.
    void KeepOnly(const std::vector<KeptRow>& kept, bool renumber);

private:
    // Loads ahead what removing the rows before selected[k] will read.
    void PrefetchRemoval(const std::vector<int>& selected, int k) const;

    ListModel& list_;
    Validation& validation_;
    ActivityLog& log_;
    MainWindow& window_;
    Progress& progress_;
    ItemBreak& itemBreak_;
};

}  // namespace morvane
