#pragma once
// Renaming every clean row on disk: deepest first, chains and rings through temporary names.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ops/Journal.h"
#include "ops/Locations.h"
#include "ops/RenameRecord.h"
#include "ops/RetriedMove.h"
#include "ops/RunFolders.h"
#include "platform/FileSystem.h"

namespace morvane {

class ActivityLog;
class BusyState;
class FolderPresence;
class Host;
class ListModel;
class Pump;
class RowRemoval;
class TextRoundTrip;

class RenameEngine {
public:
    RenameEngine(ListModel& list, FileSystem& fs, ActivityLog& log, Host& host,
                 const BusyState& busy, Pump& pump, RowRemoval& removal,
                 const TextRoundTrip& rowLock, const Locations& places)
        : list_(list),
          fs_(fs),
          log_(log),
          host_(host),
          busy_(busy),
          pump_(pump),
          removal_(removal),
          rowLock_(rowLock),
          places_(places),
          journal_(fs) {}

    // The rename command: after the user's yes, every clean row that moves is renamed on
    // disk. The renamed rows and those that keep their names leave the list; a row that
    // wanted a new name and did not get it stays, pointing at its file, so the user can
    // mend it and run again. The record of the run; empty when there was none.
    RenameRecord RenameAll();
    // The run itself, once the user has said yes: journaled as `kind`; an undo names the
    // journal it reverses.
    RenameRecord Run(RunKind kind, const std::string& undoes);
    // The file name of the last run's journal in the journal folder; empty when it had none.
    const std::string& LastJournal() const { return lastJournal_; }

    // Tests shorten the wait between attempts; the count stays.
    RetryPolicy retry;

private:
    // One row taking part, copied out of the list so that nothing a pump does to the rows
    // can pull the run's data away under it.
    struct Job {
        std::string source;        // current path
        std::string target;        // new path as typed
        std::string temp;          // where the file waits while its path is wanted; empty if never
        std::uint32_t folder = 0;  // in folders_: all three paths lie in it
        std::uint16_t depth = 0;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
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
    // After the run: the rows of record_.left stay, every other row leaves.
    void KeepRowsLeft();
    void Leave(const std::string& source, std::string path, std::string target,
               RenameRecord::Reason reason, int error);
    // A no-replace move refused because the target is the source itself (a letter-case change
    // on a case-insensitive file system) goes through a temporary name in the same folder.
    // On failure *strandedAt names the temporary path when the file could not go back.
    FsStatus MoveThroughTemporary(const Job& job, std::string* strandedAt);
    // The next free "<dir>/<counter>[MORVANE]_<name>" of this run; `presence` answers for the
    // disk while nothing has moved yet, the file system itself afterwards.
    std::string NextTemporaryPath(const std::string& dirWithoutSlash, const std::string& name,
                                  FolderPresence* presence);

    ListModel& list_;
    FileSystem& fs_;
    ActivityLog& log_;
    Host& host_;
    const BusyState& busy_;
    Pump& pump_;
    RowRemoval& removal_;
    const TextRoundTrip& rowLock_;
    const Locations& places_;
    Journal journal_;
    std::string lastJournal_;
    std::vector<Job> jobs_;
    std::optional<RunFolders> folders_;
    RenameRecord record_;
    std::uint32_t counter_ = 0;
    // Rows that wanted a new name: those renamed, those left in error, those that failed.
    std::ptrdiff_t wanting_ = 0;
    // The name limit of each folder a temporary name went to in this run.
    std::unordered_map<std::string, std::size_t> nameMax_;
};

}  // namespace morvane
