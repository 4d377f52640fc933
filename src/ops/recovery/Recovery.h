#pragma once
// Bringing a rename run that was cut off back to a whole state: every file of its plan to its
// old name (rolled back) or to its new name (finished). The disk is trusted, not the journal
// alone: each file is looked for at the paths the plan gave it, under folders that may have
// moved meanwhile, and known by what the plan recorded of it (see PlanIdentity).
//
// Where files are known by their paths alone, two files of one swap or ring may both fit
// one path. A file at one of its temporary names is ours alone; the rest follows where only
// one reading of the disk is left, and where the disk allows more than one, from how far the
// journal says the run (or an earlier recovery) got. What even that leaves open is not moved.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/JournalFormat.h"
#include "ops/rename/PlanIdentity.h"
#include "platform/FileSystem.h"

namespace morvane {

class ActivityLog;

enum class RecoveryDirection { RollBack, Finish };

// Where the files of a plan are found.
struct PlanCounts {
    int atOld = 0;
    int atNew = 0;
    int atTemporary = 0;
    int missing = 0;  // with those that could not be told from another file of the plan
};

class PlanRecovery {
public:
    // `journal`: the journal file held locked, where extra temporary names and the batches
    // recovery placed are recorded.
    PlanRecovery(FileSystem& fs, ActivityLog& log, JournalText plan, LockedFile& journal);

    // The journal's text, with any temporary names recovery added.
    const JournalText& Text() const { return plan_; }

    // Looks for every file of the plan; the counts are of that moment. `finished`: the run
    // ended, so its files are expected at their new names. `keepInfo`: what was found of
    // each file is kept for InfoOf.
    PlanCounts Locate(bool finished = false, bool keepInfo = false);
    // Moves every file found to its old or new name, never replacing anything, each checked
    // again right before it moves. A file not found, not ours or whose place is taken is left
    // where it is and named in the log. The number of files that end at the wanted name
    // (those already there included).
    int Apply(RecoveryDirection direction);
    // After Apply: every file is at its old or its new name, with no second name.
    bool AllWhole() const;

    // After Locate: whether the entry was found at its old or new name, and the path where
    // it is now.
    bool AtOld(std::size_t entry) const { return at_[entry] == kOld; }
    bool AtNew(std::size_t entry) const { return at_[entry] == kNew; }
    bool Found(std::size_t entry) const { return at_[entry] != kNowhere; }
    std::string PathNow(std::size_t entry) const { return Now(Candidate(entry, at_[entry])); }
    // Where the entry's new name is now.
    std::string NewPathNow(std::size_t entry) const { return Now(plan_.plan[entry].to); }
    // What Locate found of the entry, when it kept it.
    const FileInfo* InfoOf(std::size_t entry) const {
        return entry < infos_.size() && infos_[entry] ? &*infos_[entry] : nullptr;
    }
    // Looks at a found entry again: false, and the entry no longer found, when its file is no
    // longer at its path. What was found is kept for InfoOf.
    bool StillThere(std::size_t entry);

private:
    enum : int { kNowhere = -1, kOld = 0, kNew = 1 };  // further: temporary names

    // What became of one entry beyond where it is.
    enum class Note : std::uint8_t {
        None,
        Unclear,        // fits more than one path, and so do others: left alone
        UnclearAtTemp,  // the same, with one of those paths a temporary name
        TwoNames,       // the file has a second name of the plan: removed, or left
        Gone,           // not there any more right before its move (said in the log)
    };

    const std::string& Candidate(std::size_t entry, int which) const;
    int Candidates(std::size_t entry) const;
    // The path a recorded path leads to now, the moves of folders above it applied.
    std::string Now(const std::string& recorded) const;
    // Where the run (or recovery) is expected to have left the batch of that depth.
    int Expected(std::uint16_t depth, bool finished) const;
    // One entry known by its inode number: the first candidate where it is found.
    void LocateByInode(std::size_t entry, int* lastFound, bool finished);
    // The entries of a batch known by their paths, each given the paths where a file fits it.
    void LocateByPath(const std::vector<std::size_t>& entries, int expected);
    // A file of several names: another candidate of the entry that is the same file.
    void FindSecondName(std::size_t entry);
    // Removes a second name of the entry's file where that is certainly safe.
    void SettleSecondName(std::size_t entry, int wanted);
    // Found, and neither unclear nor of two names.
    bool Movable(std::size_t entry) const {
        return at_[entry] != kNowhere && notes_[entry] != Note::TwoNames;
    }
    // Moves an entry found at `at` to the candidate `to`; false when it could not.
    bool MoveEntry(std::size_t entry, int to);
    // The log line of an entry that was not found when its turn came.
    void LogNotPlaced(std::size_t entry);
    // A free temporary path beside the entry's old place; its journal line is added to `lines`.
    void FreshTemporary(std::size_t entry, std::string* lines);
    void NoteFolder(std::size_t entry);

    FileSystem& fs_;
    ActivityLog& log_;
    JournalText plan_;
    LockedFile& journal_;
    PlanIdentity identity_;
    std::vector<int> at_;       // which candidate each entry is at
    std::vector<bool> folder_;  // the entry is a folder
    std::vector<Note> notes_;
    std::vector<int> second_;   // the candidate of a second name, or kNowhere
    std::vector<int> notOurs_;  // a candidate holding a new file with the entry's inode number
    std::vector<std::optional<FileInfo>> infos_;
    // The recorded (old) path of each folder found elsewhere, and where it is now.
    std::unordered_map<std::string, std::string> moved_;
    bool keepInfo_ = false;
    // How many entries of the plan name each device and inode, counted once a file with more
    // than one name turns up.
    std::map<std::pair<std::uint64_t, std::uint64_t>, int> inodeUse_;
    std::uint32_t counter_ = 0;
    std::unordered_map<std::string, std::size_t> nameMax_;  // of each folder, by old path
};

}  // namespace morvane
