#pragma once
// Renaming every clean row of a list on disk: deepest first, chains and rings through
// temporary names. The engine does not change the list it is given; whoever runs it decides
// what becomes of the rows (see RenameCommand), so an operation may run it on a list of its
// own.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ops/Locations.h"
#include "ops/rename/Journal.h"
#include "ops/rename/RenameRecord.h"
#include "ops/rename/RetriedMove.h"
#include "ops/rename/RunFolders.h"
#include "platform/FileSystem.h"
#include "platform/NameLimit.h"

namespace morvane {

class ActivityLog;
class FolderPresence;
class ListModel;
class MainWindow;
class Progress;
class ItemBreak;

class RenameEngine {
public:
    RenameEngine(FileSystem& fs, ActivityLog& log, Progress& progress, MainWindow& window,
                 ItemBreak& itemBreak, const Locations& places)
        : fs_(fs),
          log_(log),
          progress_(progress),
          window_(window),
          itemBreak_(itemBreak),
          places_(places),
          journal_(fs) {}

    // Renames on disk every row of `list` that moves and is clean, journaled as `kind` (an
    // undo names the journal it reverses). The record tells what moved and which rows did
    // not get their new names; the list itself is left as it was.
    RenameRecord Run(const ListModel& list, RunKind kind, const std::string& undoes);
    // The file name of the last run's journal in the journal folder; empty when it had none.
    const std::string& LastJournal() const { return lastJournal_; }

    // Tests shorten the wait between attempts; the count stays.
    RetryPolicy retry;

private:
    // One row taking part, copied out of the list so that nothing an item break does to the rows
    // can pull the run's data away under it.
    struct Job {
        std::string source;        // current path
        std::string target;        // new path as typed
        std::string temp;          // where the file waits while its path is wanted; empty if never
        std::uint32_t folder = 0;  // in folders_: all three paths lie in it
        std::uint16_t depth = 0;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        FileMark mark;
        std::size_t planned = 0;  // its place in the journal's plan
        FsStatus vacated;         // of the move to the temporary name
    };

    // Moves and is clean (its error cell is empty).
    bool TakesPart(int position) const;
    void Collect();
    // Rows of equal depth stand in the reverse of their list order, deepest run first.
    std::vector<std::size_t> RenameOrder() const;
    void Vacate(Job& job);
    void Place(const Job& job);
    // Writes the plan of the run in its order; false (and one log line) when it cannot be.
    bool BeginJournal(const std::vector<std::size_t>& order, RunKind kind,
                      const std::string& undoes);
    // One move of the run within the job's folder, recorded when it is made. A status of
    // FsOp::OpenFolder: the folder is no longer the one registered, and nothing was tried.
    FsStatus Step(std::uint32_t folder, const std::string& from, const std::string& to,
                  bool temporary);
    // The log line and the record of a row whose folder was replaced after registration.
    void LeaveReplacedFolder(const std::string& path, const std::string& target, int error);
    void Leave(const std::string& source, std::string path, std::string target,
               RenameRecord::Reason reason, int error);
    // The file reached a temporary name and stays there at `at` for now.
    void Strand(const Job& job, const std::string& at, int error);
    // At the end of the run each stranded file tries its old name once more, which a partner
    // that failed too may have left free; true when some are still stranded.
    bool RetryStranded();
    // A no-replace move refused because the target is the source itself (a change of case on
    // a file system that folds case without saying so) goes through a temporary name in the
    // same folder.
    // On failure *strandedAt names the temporary path when the file could not go back.
    FsStatus MoveThroughTemporary(const Job& job, std::string* strandedAt);
    // The next free "<dir>/<counter>[MORVANE]_<name>" of this run; `presence` answers for the
    // disk while nothing has moved yet, the file system itself afterwards.
    std::string NextTemporaryPath(const std::string& dirWithoutSlash, const std::string& name,
                                  FolderPresence* presence);

    FileSystem& fs_;
    ActivityLog& log_;
    Progress& progress_;
    MainWindow& window_;
    ItemBreak& itemBreak_;
    const Locations& places_;
    const ListModel* list_ = nullptr;  // the list of the run under way
    Journal journal_;
    std::string lastJournal_;
    std::vector<Job> jobs_;
    std::optional<RunFolders> folders_;
    RenameRecord record_;
    // Of the files left under temporary names: the job and its entry in record_.left.
    std::vector<std::pair<std::size_t, std::size_t>> stranded_;
    std::uint32_t counter_ = 0;
    // Rows that wanted a new name: those renamed, those left in error, those that failed.
    std::ptrdiff_t wanting_ = 0;
    // The name limit of each folder a temporary name went to in this run.
    std::unordered_map<std::string, NameLimit> nameLimits_;
};

}  // namespace morvane
