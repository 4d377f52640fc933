#include "ops/rename/RenameCommand.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "host/Dialogs.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/rename/MovedPaths.h"
#include "ops/rename/RenameEngine.h"
#include "ops/rows/RowRemoval.h"
#include "ops/textfile/RowLock.h"
#include "rules/Validation.h"

namespace morvane {

std::string RenameCommand::Question() const {
    // The rows the run will take and those it will leave for their errors, as it decides.
    int files = 0;
    int folders = 0;
    int inError = 0;
    for (int row = 0; row < list_.RowCount(); ++row) {
        if (!list_.Row(row).entry.Moves())
            continue;
        if (!list_.Cell(row, ColError).empty()) {
            ++inError;
        } else if (list_.Cell(row, ColAttributes).find('D') != std::string_view::npos) {
            ++folders;
        } else {
            ++files;
        }
    }
    return msg::kRenameQuestion + FormatText(msg::kRenameCounts, files, folders, inError);
}

RenameRecord RenameCommand::RenameAll() {
    if (!dialogs_.AskYesNo(Question(), msg::kRenameCaption))
        return {};
    return Run(RunKind::Rename, {});
}

RenameRecord RenameCommand::Run(RunKind kind, const std::string& undoes) {
    RenameRecord record = engine_.Run(list_, kind, undoes);
    // A run stopped at its journal changed nothing: every row stays as it was.
    if (record.ran)
        KeepRowsLeft(record);
    return record;
}

RenameRecord RenameCommand::RunOnList(const ListModel& rows, RunKind kind,
                                      const std::string& undoes) {
    RenameRecord record = engine_.Run(rows, kind, undoes);
    FollowMoves(record);
    return record;
}

void RenameCommand::FollowMoves(const RenameRecord& record) {
    if (record.moves.empty())
        return;
    const MovedPaths moved(record.moves);
    std::vector<std::string> oldPaths;
    // By row: 0 not checked, 1 checked with the name it has, 2 given its current name.
    std::vector<std::uint8_t> check(static_cast<std::size_t>(list_.RowCount()), 0);
    for (int row = 0; row < list_.RowCount(); ++row) {
        const FileEntry& entry = list_.Row(row).entry;
        if (std::string now = moved.NowOfStart(entry.currentKey); now != entry.currentKey) {
            // A row with no name of its own keeps none: it is not to be renamed back.
            check[static_cast<std::size_t>(row)] = entry.Moves() ? 1 : 2;
            oldPaths.push_back(entry.currentKey);
            list_.Repoint(row, now);
        }
    }
    // The rows that wanted a path a file left: it may be free now.
    for (const std::string& old : oldPaths) {
        list_.NewPathIndex().ForEach(old, [&](const FileEntry* wanting) {
            std::uint8_t& mark = check[static_cast<std::size_t>(wanting->row)];
            mark = std::max<std::uint8_t>(mark, 1);
            return true;
        });
    }
    std::vector<std::string> names;  // reserved whole: the batch views them
    names.reserve(oldPaths.size());
    std::vector<NewName> checks;
    for (int row = 0; row < list_.RowCount(); ++row) {
        const std::uint8_t mark = check[static_cast<std::size_t>(row)];
        if (mark == 1) {
            checks.push_back(NewName::Keep(row));
        } else if (mark == 2) {
            names.emplace_back(list_.Cell(row, ColCurrentName));
            checks.emplace_back(row, names.back());
        }
    }
    if (!checks.empty())
        validation_.SetNewNames(checks, NameSource::Row);
}

const std::string& RenameCommand::LastJournal() const {
    return engine_.LastJournal();
}

void RenameCommand::KeepRowsLeft(RenameRecord& record) {
    KeepOnlyRowsLeft(record);
    // No line of the text file has a row any more; a lock would only make the next command
    // ask about an empty list.
    if (list_.RowCount() == 0)
        rowLock_.Release();
}

void RenameCommand::KeepOnlyRowsLeft(RenameRecord& record) {
    if (record.left.empty()) {
        removal_.RemoveAllRows();
        return;
    }
    const MovedPaths moved(record.moves);
    std::vector<RowRemoval::KeptRow> kept;
    kept.reserve(record.left.size());
    for (RenameRecord::Left& left : record.left) {
        left.path = moved.Now(left.path);
        if (const FileEntry* entry = list_.CurrentPathIndex().Find(MakePathKey(left.source)))
            kept.push_back({entry->row, left.path});
    }
    // Unlocked, the numbers follow the positions as after any removal; locked, they are
    // what ties the lines of the text file to the rows.
    removal_.KeepOnly(kept, !rowLock_.RowLocked());
}

}  // namespace morvane
