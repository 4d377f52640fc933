#include "ops/rows/RowRemoval.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "ops/ItemBreak.h"
#include "ops/registration/Registration.h"
#include "rules/Validation.h"

namespace morvane {

void RowRemoval::RemoveSelectedRows() {
    progress_.SetStatusProgress(0.0f);
    window_.SetMainWindowEnabled(false);
    window_.CommitEdit();
    const std::vector<int> selected = list_.SelectedRows();
    if (!selected.empty()) {
        window_.EnsureRowVisible(selected.front());
        const auto n = static_cast<int>(selected.size());
        // From the last to the first, so the positions still to go keep their meaning. The
        // rows leave the indexes one by one, with their dependents corrected, and leave the
        // list in one pass at the end instead of one erase per row.
        for (int k = n - 1; k >= 0; --k) {
            PrefetchRemoval(selected, k);
            const int position = selected[static_cast<std::size_t>(k)];
            validation_.OnRowRemoved(position);
            list_.DetachRow(position);
            window_.ShowRegisteredCount(list_.RowCount() - (n - k));
            progress_.SetStatusProgress(1.0f - static_cast<float>(k) / static_cast<float>(n));
            itemBreak_();
        }
        list_.RemoveRows(selected);
    }
    progress_.SetStatusProgress(0.0f);
    window_.SetMainWindowEnabled(true);
    list_.RenumberRows();
    window_.ShowRegisteredCount(list_.RowCount());
    window_.RedrawList();
}

void RowRemoval::PrefetchRemoval(const std::vector<int>& selected, int k) const {
    // Removing a row waits on memory of its own, scattered over a long list: the entry, its
    // links, their neighbours in the chains and the chain of its path (whoever wants it).
    // Each level is loaded some rows ahead of the one that reads it.
    constexpr int kDistance = 4;
    const auto ahead = [&](int levels) -> const FileEntry* {
        const int at = k - levels * kDistance;
        return at >= 0 ? list_.EntryAt(selected[static_cast<std::size_t>(at)]) : nullptr;
    };
    if (const FileEntry* e = ahead(4))
        __builtin_prefetch(e);
    if (const FileEntry* e = ahead(3)) {
        __builtin_prefetch(e->currentLink);
        __builtin_prefetch(e->newLink);
    }
    if (const FileEntry* e = ahead(2)) {
        list_.CurrentPathIndex().PrefetchNeighbours(e);
        list_.NewPathIndex().PrefetchNeighbours(e);
        if (e->currentLink != nullptr)
            list_.NewPathIndex().Prefetch(e->currentLink->hash, 0);
    }
    if (const FileEntry* e = ahead(1); e != nullptr && e->currentLink != nullptr)
        list_.NewPathIndex().Prefetch(e->currentLink->hash, 1);
}

void RowRemoval::RemoveAllRows() {
    window_.SetMainWindowEnabled(false);
    window_.CommitEdit();
    list_.RemoveAllRows();
    window_.SetMainWindowEnabled(true);
    list_.RenumberRows();
    window_.RedrawList();
    window_.ShowRegisteredCount(list_.RowCount());
}

void RowRemoval::KeepOnly(const std::vector<KeptRow>& kept, bool renumber) {
    window_.SetMainWindowEnabled(false);
    window_.CommitEdit();
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(list_.RowCount()), 0);
    for (const KeptRow& row : kept) {
        keep[static_cast<std::size_t>(row.position)] = 1;
        if (row.path != list_.EntryAt(row.position)->currentKey)
            list_.Repoint(row.position, row.path);
    }
    std::vector<int> leaving;
    for (int position = 0; position < list_.RowCount(); ++position) {
        if (keep[static_cast<std::size_t>(position)] == 0)
            leaving.push_back(position);
    }
    std::vector<FileEntry*> entries;
    entries.reserve(kept.size());
    for (const KeptRow& row : kept)
        entries.push_back(list_.EntryAt(row.position));
    list_.RemoveRows(leaving);
    if (renumber)
        list_.RenumberRows();
    // In list order, so the messages come in the order of the rows.
    std::vector<NewName> checks;
    checks.reserve(entries.size());
    for (const FileEntry* entry : entries)
        checks.push_back(NewName::Keep(entry->row));
    std::sort(checks.begin(), checks.end(),
              [](const NewName& a, const NewName& b) { return a.row < b.row; });
    validation_.SetNewNames(checks, NameSource::Row);
    window_.SetMainWindowEnabled(true);
    window_.RedrawList();
    window_.ShowRegisteredCount(list_.RowCount());
}

void RowRemoval::ClearAllRows() {
    RemoveAllRows();
    log_.ClearLog();
}

}  // namespace morvane
