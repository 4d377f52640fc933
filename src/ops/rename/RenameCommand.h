#pragma once
// The rename command on the user's list: the question, the run, and what becomes of the rows
// afterwards. The engine renames; this keeps the list in step with the disk.

#include <string>

#include "ops/rename/Journal.h"
#include "ops/rename/RenameRecord.h"

namespace morvane {

class Dialogs;
class ListModel;
class RenameEngine;
class RowLock;
class RowRemoval;
class Validation;

class RenameCommand {
public:
    RenameCommand(ListModel& list, Validation& validation, RenameEngine& engine,
                  RowRemoval& removal, RowLock& rowLock, Dialogs& dialogs)
        : list_(list),
          validation_(validation),
          engine_(engine),
          removal_(removal),
          rowLock_(rowLock),
          dialogs_(dialogs) {}

    // After the user's yes, every clean row that moves is renamed on disk. The renamed rows
    // and those that keep their names leave the list; a row that wanted a new name and did
    // not get it stays, pointing at its file, so the user can mend it and run again. The
    // record of the run; empty when there was none.
    RenameRecord RenameAll();
    // The run on the user's list once the user has said yes, with the rows' bookkeeping.
    RenameRecord Run(RunKind kind, const std::string& undoes);
    // A run over a list of the caller's own (an undo, a recovery): the user's rows stay in
    // the list, and those whose files the run moved, or whose folders it renamed, point at
    // them where they are now and are checked again.
    RenameRecord RunOnList(const ListModel& rows, RunKind kind, const std::string& undoes);
    // The file name of the last run's journal in the journal folder; empty when it had none.
    const std::string& LastJournal() const;

private:
    // The question before a run, with the number of files and folders it will rename and of
    // the rows it will skip for their errors.
    std::string Question() const;
    // After the run: the rows of record.left stay, every other row leaves. With none left the
    // row lock ends too, its text file with it.
    void KeepRowsLeft(RenameRecord& record);
    void KeepOnlyRowsLeft(RenameRecord& record);
    // The user's rows follow the moves of a run over another list.
    void FollowMoves(const RenameRecord& record);

    ListModel& list_;
    Validation& validation_;
    RenameEngine& engine_;
    RowRemoval& removal_;
    RowLock& rowLock_;
    Dialogs& dialogs_;
};

}  // namespace morvane
