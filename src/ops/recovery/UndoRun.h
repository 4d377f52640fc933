#pragma once
// The undo command: a finished rename run is reversed, as far as it can go, by a run of its
// own over a private list, so every check and every no-replace move of a run holds, the undo
// is journaled like any run, and the user's rows stay (those whose files moved follow them).
// Each file goes back only while it is still what the run made it; any other is named in the
// log and left alone. What went back is recorded in the run's journal file by file, so a
// later undo tries only what is left.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ops/rename/Journal.h"

namespace morvane {

class ActivityLog;
class FileSystem;
class Dialogs;
class RenameCommand;
struct Locations;

class UndoRun {
public:
    UndoRun(FileSystem& fs, ActivityLog& log, Dialogs& dialogs, const Locations& places,
            RenameCommand& rename)
        : fs_(fs), log_(log), dialogs_(dialogs), places_(places), rename_(rename) {}

    // The newest run that still has something to reverse; runs with nothing left are passed
    // over and named in the log.
    void UndoLastRun();
    // The run of that journal (its file name in the journal folder), after the user's yes.
    // False when it had nothing left to reverse.
    bool UndoJournal(const std::string& name);

private:
    enum class Outcome { Reversed, NothingLeft, Declined, Unreadable };
    Outcome Undo(JournalFile file, std::vector<std::string>* passedOver);
    // The log line for a file of the run `name` that is not at `path` (its new name) any
    // more: where later runs took it, when they did and it is there.
    std::string ChangedLine(const std::string& name, const std::string& path,
                            const JournalEntry& entry);
    // The moves of the runs after laterThan_, read once per undo: from → (to, inode).
    struct LaterMove {
        std::string to;
        std::uint64_t inode = 0;
    };
    std::string laterThan_;
    std::vector<std::unordered_map<std::string, LaterMove>> laterMoves_;

    FileSystem& fs_;
    ActivityLog& log_;
    Dialogs& dialogs_;
    const Locations& places_;
    RenameCommand& rename_;
};

// After an undo of the run (or its recovery): every entry found at its old name is recorded
// as back, and the run is marked undone once all are.
void RecordWhatWentBack(FileSystem& fs, ActivityLog& log, const std::string& folder,
                        const std::string& name);

}  // namespace morvane
