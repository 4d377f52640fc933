#include "ops/RowRemoval.h"

#include <vector>

#include "host/ActivityLog.h"
#include "host/Host.h"
#include "model/ListModel.h"
#include "ops/Pump.h"
#include "rules/Validation.h"

namespace morvane {

void RowRemoval::RemoveSelectedRows() {
    host_.SetStatusProgress(0.0f);
    host_.SetMainWindowEnabled(false);
    host_.CommitEdit();
    const std::vector<int> selected = list_.SelectedRows();
    if (!selected.empty()) {
        host_.EnsureRowVisible(selected.front());
        const auto n = static_cast<int>(selected.size());
        // From the last to the first, so the positions still to go keep their meaning. The
        // rows leave the indexes one by one, with their dependents corrected, and leave the
        // list in one pass at the end instead of one erase per row.
        for (int k = n - 1; k >= 0; --k) {
            const int position = selected[static_cast<std::size_t>(k)];
            validation_.OnRowRemoved(position);
            FileEntry* entry = list_.EntryAt(position);
            list_.CurrentPathIndex().Unlink(entry);
            list_.NewPathIndex().Unlink(entry);
            host_.ShowRegisteredCount(list_.RowCount() - (n - k));
            host_.SetStatusProgress(1.0f - static_cast<float>(k) / static_cast<float>(n));
            pump_();
        }
        list_.RemoveRows(selected);
    }
    host_.SetStatusProgress(0.0f);
    host_.SetMainWindowEnabled(true);
    list_.RenumberRows();
    host_.ShowRegisteredCount(list_.RowCount());
    host_.RedrawList();
}

void RowRemoval::RemoveAllRows() {
    host_.SetMainWindowEnabled(false);
    host_.CommitEdit();
    list_.RemoveAllRows();
    host_.SetMainWindowEnabled(true);
    list_.RenumberRows();
    host_.RedrawList();
    host_.ShowRegisteredCount(list_.RowCount());
}

void RowRemoval::ClearAllRows() {
    RemoveAllRows();
    log_.ClearLog();
}

}  // namespace morvane
